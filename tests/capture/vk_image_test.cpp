// The catalogue entry control on real windows: its members and load values, the
// property bag, the zoom, fit and PDF rules of LoadDocument, the viewer following the
// control's size, and thumbnails loaded as a control array.
#include <gtest/gtest.h>

#include <objbase.h>

#include <string>
#include <vector>

#include "capture/vk_image.h"
#include "hosted/sample_images.h"
#include "hosted/window_driver.h"
#include "runtime/clock.h"
#include "runtime/vk_name.h"
#include "runtime/window_picture.h"
#include "support/error_of.h"
#include "support/memory_dc.h"

namespace vk::capture {
namespace {

using test::ErrorOf;

constexpr int kPageWidth = 2480;
constexpr int kPageHeight = 3508;

class VkImageTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    folder_ = new std::wstring(test::FreshFolder(L"vk_image"));
    ASSERT_TRUE(test::WriteSamplePage(File(L"page.jpg"), test::ImageFormat::Jpg, kPageWidth, kPageHeight));
    ASSERT_TRUE(test::WriteSamplePage(File(L"small.png"), test::ImageFormat::Png, 200, 300));
    ASSERT_TRUE(test::WriteBytes(File(L"notes.jpg"), "not a picture"));
    ASSERT_TRUE(test::WriteBytes(File(L"scan.pdf"), "%PDF-1.4\n%%EOF\n"));
  }
  static std::wstring File(const wchar_t* name) { return *folder_ + L"\\" + name; }

  // A thumbnail-sized control (125 × 133 pixels) unless told otherwise.
  VkImage& AddImage(const wchar_t* name, int index = -1, double width = 1875, double height = 1995) {
    ControlArgs args = test::At(150, 150, width, height, name);
    args.index = index;
    return form->Add<VkImage>(args);
  }

  // Pixels of the control's own painting that are the PDF mark's red.
  static int MarkPixels(const VkImage& image) {
    const int w = image.clientWidth(), h = image.clientHeight();
    test::MemoryDc memory(w, h);
    SendMessageW(image.hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.dc()), PRF_CLIENT);
    int count = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) count += memory.Pixel(x, y) == RGB(176, 0, 0);
    return count;
  }

  static RECT ViewerRect(const VkImage& image) {
    RECT r{};
    GetWindowRect(image.iImage().hwnd(), &r);
    MapWindowPoints(HWND_DESKTOP, image.hwnd(), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }

  static std::wstring* folder_;
  test::ShownForm form{9000, 6000};
};
std::wstring* VkImageTest::folder_ = nullptr;

TEST_F(VkImageTest, MadeWithoutABagEverythingIsZeroEmptyOrFalse) {
  VkImage& image = AddImage(L"PSelection");
  EXPECT_TRUE(image.enabled());
  EXPECT_FALSE(image.IsPDF());
  EXPECT_FALSE(image.FitMode());
  EXPECT_EQ(image.Zoom(), 0);
  EXPECT_EQ(image.TipoDocumentoId(), 0);
  EXPECT_EQ(image.Fecha(), 0);
  for (const std::wstring* text : {&image.CategoriaId(), &image.SubCategoriaId(), &image.GerenciaId(),
                                   &image.Documento(), &image.Path(), &image.CBarra(), &image.ReferenciaId()})
    EXPECT_EQ(*text, L"");
  for (int n = 1; n <= 10; ++n) EXPECT_EQ(image.Campo(n), L"") << n;

  image.setWorkMode(3);
  image.setMouseIcon(2);
  EXPECT_EQ(image.WorkMode(), 0);
  EXPECT_EQ(image.MouseIcon(), 0);
  image.setEnabled(false);
  EXPECT_FALSE(image.enabled());
  EXPECT_FALSE(IsWindowEnabled(image.hwnd()));
  image.setCampo(10, L"diez");
  EXPECT_EQ(image.Campo(10), L"diez");
  EXPECT_EQ(image.Entry().Campo[9], L"diez");
  for (int bad : {0, 11}) EXPECT_EQ(ErrorOf([&] { image.setCampo(bad, L"x"); }), err::SubscriptOutOfRange);
  EXPECT_EQ(VkNameOf(image.hwnd()), L"PSelection");
  EXPECT_EQ(FindVkWindow(image.hwnd(), L"iImage"), image.iImage().hwnd());
}

TEST_F(VkImageTest, ReadsTheBagWithItsDefaults) {
  FixedClock clock(MakeDate(2025, 3, 14, 9, 30, 0));
  ClockScope scope(clock);
  VkImage& empty = AddImage(L"PSelection");
  empty.ReadProperties(PropertyBag{});
  EXPECT_TRUE(empty.FitMode());
  EXPECT_FALSE(empty.iImage().FitToWindow()) << "the stored FitMode is not passed to the viewer";
  EXPECT_EQ(empty.Fecha(), clock.Now());
  EXPECT_EQ(empty.TipoDocumentoId(), 0);
  EXPECT_EQ(empty.Documento(), L"");

  VkImage& full = AddImage(L"PSlide2");
  full.ReadProperties(PropertyBag{{L"fitmode", false}, {L"CategoriaId", L"00003"}, {L"SubCategoriaId", L"7"},
                                  {L"GerenciaId", L"G1"}, {L"TipoDocumentoId", L"12"}, {L"Documento", L"a.jpg"},
                                  {L"Path", L"C:\\a.jpg"}, {L"Campo03", L"tres"},
                                  {L"Fecha", Variant::FromDate(MakeDate(2024, 12, 31))}, {L"CBarra", L"B-1"},
                                  {L"ReferenciaId", L"R-9"}});
  EXPECT_FALSE(full.FitMode());
  EXPECT_EQ(full.CategoriaId(), L"00003");
  EXPECT_EQ(full.SubCategoriaId(), L"7");
  EXPECT_EQ(full.GerenciaId(), L"G1");
  EXPECT_EQ(full.TipoDocumentoId(), 12);
  EXPECT_EQ(full.Documento(), L"a.jpg");
  EXPECT_EQ(full.Path(), L"C:\\a.jpg");
  EXPECT_EQ(full.Campo(3), L"tres");
  EXPECT_EQ(full.Campo(4), L"");
  EXPECT_EQ(full.Fecha(), MakeDate(2024, 12, 31));
  EXPECT_EQ(full.CBarra(), L"B-1");
  EXPECT_EQ(full.ReferenciaId(), L"R-9");
}

TEST_F(VkImageTest, WritesTheCatalogueFieldsInOrderAndNeverTheDisplaySettings) {
  FixedClock clock(MakeDate(2025, 3, 14, 9, 30, 0));
  ClockScope scope(clock);
  VkImage& image = AddImage(L"PSelection");
  image.ReadProperties(PropertyBag{});
  PropertyBag defaults;
  image.WriteProperties(defaults);
  EXPECT_EQ(defaults.size(), 0u) << "every value equals its default";

  image.setFitMode(false);
  image.setCategoriaId(L"1");
  image.setSubCategoriaId(L"2");
  image.setGerenciaId(L"3");
  image.setTipoDocumentoId(4);
  image.setDocumento(L"d.tif");
  image.setPath(L"C:\\d.tif");
  for (int n = 1; n <= 10; ++n) image.setCampo(n, L"c" + std::to_wstring(n));
  image.setFecha(MakeDate(2020, 1, 2));
  image.setCBarra(L"cb");
  image.setReferenciaId(L"ref");
  image.setIsPDF(true);
  image.setZoom(3);
  image.setEnabled(false);
  PropertyBag bag;
  image.WriteProperties(bag);
  std::vector<std::wstring> keys;
  for (const auto& [key, value] : bag.entries()) keys.push_back(key);
  EXPECT_EQ(keys, (std::vector<std::wstring>{L"FitMode", L"CategoriaId", L"SubCategoriaId", L"GerenciaId",
                                             L"TipoDocumentoId", L"Documento", L"Path", L"Campo01", L"Campo02",
                                             L"Campo03", L"Campo04", L"Campo05", L"Campo06", L"Campo07",
                                             L"Campo08", L"Campo09", L"Campo10", L"Fecha", L"ReferenciaId",
                                             L"CBarra"}));

  VkImage& copy = AddImage(L"PSlide2");
  copy.ReadProperties(bag);
  EXPECT_FALSE(copy.FitMode());
  EXPECT_EQ(copy.Entry().Campo, image.Entry().Campo);
  EXPECT_EQ(copy.Fecha(), MakeDate(2020, 1, 2));
  EXPECT_EQ(copy.TipoDocumentoId(), 4);
  EXPECT_EQ(copy.ReferenciaId(), L"ref");
  EXPECT_FALSE(copy.IsPDF());
  EXPECT_EQ(copy.Zoom(), 0);
  EXPECT_TRUE(copy.enabled());
}

TEST_F(VkImageTest, LoadDocumentTurnsFitOffAndZoomsToZoomOrOne) {
  VkImage& image = AddImage(L"PSelection", -1, 4500, 6000);
  image.setVisible(true);
  image.setPath(File(L"page.jpg"));
  struct Case {
    double zoom;
    bool fitBefore;
    double viewerZoom;
  };
  for (const Case& c : {Case{0, false, 1.0}, Case{0.53, true, 0.53}, Case{2, false, 2.0}}) {
    image.setZoom(c.zoom);
    image.setFitMode(c.fitBefore);
    EXPECT_FALSE(image.LoadDocument());
    EXPECT_TRUE(IsWindowVisible(image.iImage().hwnd()));
    EXPECT_TRUE(image.iImage().HasImage());
    EXPECT_FALSE(image.iImage().FitToWindow()) << c.zoom;
    EXPECT_EQ(image.iImage().Zoom(), c.viewerZoom);
    EXPECT_EQ(image.FitMode(), c.fitBefore) << "the control's own FitMode stays";
    EXPECT_EQ(image.Zoom(), c.zoom);
  }
  // Zoom and fit set afterwards reach the viewer at once; 0 (zoom out before any
  // load writes it back) is the image's own size, a negative zoom is refused.
  image.setZoom(1.53);
  EXPECT_EQ(image.iImage().Zoom(), 1.53);
  image.setZoom(0);
  EXPECT_EQ(image.iImage().Zoom(), 1);
  EXPECT_EQ(ErrorOf([&] { image.setZoom(-1); }), err::InvalidPropertyValue);
  EXPECT_EQ(image.Zoom(), -1) << "stored before the viewer refused it";
  image.setFitMode(true);
  EXPECT_TRUE(image.iImage().FitToWindow());
}

TEST_F(VkImageTest, AFittedThumbnailHoldsOnlyItsDisplaySize) {
  VkImage& thumbnail = AddImage(L"PSlide2");
  thumbnail.setVisible(true);
  thumbnail.setPath(File(L"page.jpg"));
  thumbnail.LoadDocument();
  thumbnail.setFitMode(true);
  const hosted::PixelSize held = thumbnail.iImage().HeldSize();
  EXPECT_LE(held.width, thumbnail.clientWidth());
  EXPECT_EQ(held.height, thumbnail.clientHeight());
  RECT client{};
  GetClientRect(thumbnail.iImage().hwnd(), &client);
  // The page's dark top half and light bottom half, at the thumbnail's size.
  EXPECT_LT(test::GreyAt(thumbnail.iImage().hwnd(), client.right / 2, client.bottom / 4), 0x60);
  EXPECT_GT(test::GreyAt(thumbnail.iImage().hwnd(), client.right / 2, client.bottom * 3 / 4), 0xA0);
}

TEST_F(VkImageTest, APdfHidesTheViewerShowsItsMarkAndOnlyStoresFitAndZoom) {
  VkImage& image = AddImage(L"PSelection", -1, 3000, 3000);
  image.setVisible(true);
  image.setPath(File(L"small.png"));
  image.LoadDocument();
  EXPECT_EQ(MarkPixels(image), 0);

  image.setIsPDF(true);
  image.setPath(File(L"scan.pdf"));
  EXPECT_FALSE(image.LoadDocument());
  EXPECT_FALSE(IsWindowVisible(image.iImage().hwnd())) << "hidden, though an image was shown before";
  EXPECT_GT(MarkPixels(image), 20) << "the control shows the PDF mark";
  image.setFitMode(true);
  image.setZoom(4);
  EXPECT_TRUE(image.FitMode());
  EXPECT_EQ(image.Zoom(), 4);
  EXPECT_FALSE(image.iImage().FitToWindow()) << "the viewer is not touched while IsPDF";
  EXPECT_EQ(image.iImage().Zoom(), 1);

  image.setIsPDF(false);
  image.setPath(File(L"small.png"));
  image.LoadDocument();
  EXPECT_TRUE(IsWindowVisible(image.iImage().hwnd()));
  EXPECT_EQ(image.iImage().Zoom(), 4);
  EXPECT_EQ(MarkPixels(image), 0);
}

TEST_F(VkImageTest, AFileTheViewerCannotOpenRaisesAndLeavesItEmpty) {
  VkImage& image = AddImage(L"PSelection");
  image.setVisible(true);
  struct Case {
    std::wstring path;
    long error;
  };
  for (const Case& c : {Case{File(L"missing.jpg"), err::FileNotFound}, Case{File(L"notes.jpg"), err::InvalidPicture},
                        Case{L"", err::FileNotFound}}) {
    image.setPath(File(L"small.png"));
    image.LoadDocument();
    ASSERT_TRUE(image.iImage().HasImage());
    image.setPath(c.path);
    EXPECT_EQ(ErrorOf([&] { image.LoadDocument(); }), c.error) << c.path;
    EXPECT_FALSE(image.iImage().HasImage()) << c.path;
    test::Pump();  // painting an empty viewer is fine
  }
}

TEST_F(VkImageTest, TheViewerFillsTheControlAfterEveryResize) {
  VkImage& image = AddImage(L"PSelection", -1, 3000, 4500);
  RECT r = ViewerRect(image);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.right, 200);
  EXPECT_EQ(r.bottom, 300);
  image.Move(300, 300, 3800 * 1.0, 6490);
  r = ViewerRect(image);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, image.clientWidth());
  EXPECT_EQ(r.bottom, image.clientHeight());
  image.iImage().Move(600, 600, 450, 450);
  image.Resize();
  r = ViewerRect(image);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, image.clientWidth());
  image.Repaint();  // does nothing
  EXPECT_EQ(ViewerRect(image).right, image.clientWidth());
}

TEST_F(VkImageTest, ThumbnailsLoadedAsAnArrayOwnTheirViewerAndStartFromTheDesignBag) {
  VkImage& first = AddImage(L"PSlide", 0);
  first.ReadProperties(PropertyBag{{L"FitMode", false}, {L"CategoriaId", L"3"}});
  first.setCategoriaId(L"9");
  first.setFitMode(true);
  ControlArray<VkImage> slides(first);
  VkImage& second = slides.Load(1);
  EXPECT_FALSE(second.visible());
  EXPECT_EQ(second.CategoriaId(), L"3") << "element 0's design bag, not its current values";
  EXPECT_FALSE(second.FitMode());
  EXPECT_NE(second.Fecha(), 0) << "a bag without Fecha gives the time it was read";
  ASSERT_NE(&second.iImage(), &first.iImage());
  EXPECT_EQ(GetParent(second.iImage().hwnd()), second.hwnd());
  EXPECT_EQ(FindVkWindow(form.hwnd(), L"PSlide(1)"), second.hwnd());
  EXPECT_EQ(FindVkWindow(second.hwnd(), L"iImage"), second.iImage().hwnd());
  EXPECT_TRUE(form->ControlsOf<hosted::ImageViewer>().empty()) << "viewers belong to their controls";

  second.Move(first.left() + first.width() + 200, first.top(), first.width(), first.height());
  first.setVisible(true);
  second.setVisible(true);
  first.setPath(File(L"page.jpg"));
  second.setIsPDF(true);
  second.setPath(File(L"scan.pdf"));
  first.LoadDocument();
  second.LoadDocument();
  first.setFitMode(true);
  second.setFitMode(true);
  EXPECT_TRUE(IsWindowVisible(first.iImage().hwnd()));
  EXPECT_FALSE(IsWindowVisible(second.iImage().hwnd()));
  EXPECT_EQ(first.iImage().ImageSize(), (hosted::PixelSize{kPageWidth, kPageHeight}));
  EXPECT_FALSE(second.iImage().HasImage());
  test::Pump();
  EXPECT_TRUE(SaveWindowPicture(form.hwnd(), L"capture_vk_image_thumbnails.bmp"));

  HWND secondViewer = second.iImage().hwnd();
  slides.Unload(1);
  test::Pump();
  EXPECT_FALSE(IsWindow(secondViewer));
  EXPECT_TRUE(IsWindow(first.iImage().hwnd()));

  // Element 0 made without a bag: its clones start empty too.
  VkImage& bare = AddImage(L"PSelectionArray", 0);
  bare.setCategoriaId(L"5");
  VkImage& bareClone = ControlArray<VkImage>(bare).Load(1);
  EXPECT_EQ(bareClone.CategoriaId(), L"");
  EXPECT_FALSE(bareClone.FitMode());
  EXPECT_EQ(bareClone.Fecha(), 0);
}

}  // namespace
}  // namespace vk::capture
