// The catalogue entry control on real windows: load values and the property bag, the
// zoom, fit and PDF rules of LoadDocument, the viewer following the control's size,
// and thumbnails loaded as a control array.
#include <gtest/gtest.h>

#include <objbase.h>

#include <string>
#include <vector>

#include "base/clock.h"
#include "hosted/sample_images.h"
#include "hosted/window_driver.h"
#include "runtime/vk_name.h"
#include "runtime/window_picture.h"
#include "screen_kit/vk_image.h"
#include "support/error_of.h"
#include "support/memory_dc.h"
#include "support/picture_file.h"

namespace vk {
namespace {

using test::ErrorOf;

class VkImageTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    folder_ = new std::wstring(test::FreshFolder(L"vk_image"));
    ASSERT_TRUE(test::WriteSamplePage(File(L"page.jpg"), test::ImageFormat::Jpg, 2480, 3508));
    ASSERT_TRUE(test::WriteSamplePage(File(L"small.png"), test::ImageFormat::Png, 200, 300));
    ASSERT_TRUE(test::WriteBytes(File(L"notes.jpg"), "not a picture"));
  }
  static std::wstring File(const wchar_t* name) { return *folder_ + L"\\" + name; }

  // A thumbnail-sized control (125 × 133 pixels) unless told otherwise.
  VkImage& AddImage(const wchar_t* name, int index = -1, double width = 1875, double height = 1995) {
    ControlArgs args = test::At(150, 150, width, height, name);
    args.index = index;
    return form->Add<VkImage>(args);
  }

  // Pixels of the control's own painting in the PDF mark's red.
  static int MarkPixels(const VkImage& image) {
    test::MemoryDc memory(image.clientWidth(), image.clientHeight());
    SendMessageW(image.hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.dc()), PRF_CLIENT);
    int count = 0;
    for (int y = 0; y < image.clientHeight(); ++y)
      for (int x = 0; x < image.clientWidth(); ++x) count += memory.Pixel(x, y) == RGB(176, 0, 0);
    return count;
  }

  static std::wstring* folder_;
  test::ShownForm form{9000, 6000};
};
std::wstring* VkImageTest::folder_ = nullptr;

TEST_F(VkImageTest, LoadValuesAndTheBagsKeysOrderAndDefaults) {
  FixedClock clock(MakeDate(2025, 3, 14, 9, 30, 0));
  ClockScope scope(clock);
  VkImage& image = AddImage(L"PSelection");
  // Made without a bag: 0, "" and False.
  EXPECT_TRUE(image.enabled());
  EXPECT_FALSE(image.FitMode() || image.IsPDF());
  EXPECT_EQ(image.Zoom() + image.TipoDocumentoId() + image.Fecha(), 0);
  EXPECT_EQ(image.CategoriaId() + image.Documento() + image.Path() + image.Campo(1) + image.CBarra(), L"");
  image.setWorkMode(3);
  image.setMouseIcon(2);
  EXPECT_EQ(image.WorkMode() + image.MouseIcon(), 0);
  EXPECT_EQ(ErrorOf([&] { image.setCampo(11, L"x"); }), err::SubscriptOutOfRange);

  // A bag without keys: FitMode True and Fecha now, which are the defaults written.
  image.ReadProperties(PropertyBag{});
  EXPECT_TRUE(image.FitMode());
  EXPECT_EQ(image.Fecha(), clock.Now());
  PropertyBag written;
  image.WriteProperties(written);
  EXPECT_EQ(written.size(), 0u);

  // Every key, in the order it is written; the display settings are never stored.
  std::vector<std::pair<std::wstring, Variant>> keys = {
      {L"FitMode", false}, {L"CategoriaId", L"1"}, {L"SubCategoriaId", L"2"}, {L"GerenciaId", L"3"},
      {L"TipoDocumentoId", 4}, {L"Documento", L"d.tif"}, {L"Path", L"C:\\d.tif"}};
  for (int n = 1; n <= 10; ++n) keys.emplace_back((n < 10 ? L"Campo0" : L"Campo") + std::to_wstring(n), L"c");
  keys.insert(keys.end(), {{L"Fecha", Variant::FromDate(MakeDate(2020, 1, 2))}, {L"ReferenciaId", L"ref"},
                           {L"CBarra", L"cb"}});
  PropertyBag bag;
  for (const auto& [key, value] : keys) bag.Write(key, value);
  image.ReadProperties(bag);
  EXPECT_TRUE(image.iImage().FitToWindow()) << "the stored FitMode is not passed to the viewer";
  EXPECT_EQ(image.TipoDocumentoId(), 4);
  EXPECT_EQ(image.Campo(10) + image.ReferenciaId() + image.CBarra(), L"crefcb");
  image.setIsPDF(true);
  image.setZoom(3);
  image.setEnabled(false);
  image.WriteProperties(written);
  ASSERT_EQ(written.size(), keys.size());
  for (size_t i = 0; i < keys.size(); ++i) {
    EXPECT_EQ(written.entries()[i].first, keys[i].first);
    EXPECT_TRUE(SameValue(written.entries()[i].second, keys[i].second)) << keys[i].first;
  }
}

TEST_F(VkImageTest, TheViewerFillsTheControlAndFollowsLoadDocumentsZoomFitAndPdfRules) {
  VkImage& image = AddImage(L"PSelection", -1, 2400, 3000);
  auto viewerFillsTheControl = [&] {
    RECT r{};
    GetWindowRect(image.iImage().hwnd(), &r);
    MapWindowPoints(HWND_DESKTOP, image.hwnd(), reinterpret_cast<POINT*>(&r), 2);
    return r.left == 0 && r.top == 0 && r.right == image.clientWidth() && r.bottom == image.clientHeight();
  };
  EXPECT_TRUE(viewerFillsTheControl());
  image.Move(300, 300, 3000, 3000);
  EXPECT_TRUE(viewerFillsTheControl()) << "the control's own resize";
  image.iImage().Move(600, 600, 450, 450);
  image.Resize();
  EXPECT_TRUE(viewerFillsTheControl());

  image.setPath(File(L"small.png"));
  struct Case {
    double zoom;
    bool fitBefore;
    double viewerZoom;
  };
  for (const Case& c : {Case{0, true, 1.0}, Case{0.53, true, 0.53}, Case{2, false, 2.0}}) {
    image.setZoom(c.zoom);  // 0: the image's own size
    image.setFitMode(c.fitBefore);
    EXPECT_FALSE(image.LoadDocument());
    EXPECT_TRUE(IsWindowVisible(image.iImage().hwnd()));
    EXPECT_TRUE(image.iImage().HasImage());
    EXPECT_FALSE(image.iImage().FitToWindow()) << c.zoom;
    EXPECT_EQ(image.iImage().Zoom(), c.viewerZoom);
    EXPECT_EQ(image.FitMode(), c.fitBefore) << "the control's own FitMode stays";
  }
  EXPECT_EQ(MarkPixels(image), 0);
  EXPECT_EQ(ErrorOf([&] { image.setZoom(-1); }), err::InvalidPropertyValue);
  EXPECT_EQ(image.Zoom(), -1) << "stored before the viewer refused it";

  image.setIsPDF(true);
  image.LoadDocument();
  EXPECT_FALSE(IsWindowVisible(image.iImage().hwnd())) << "hidden, though an image was shown before";
  EXPECT_GT(MarkPixels(image), 20) << "the control shows the PDF mark";
  image.setFitMode(true);
  image.setZoom(4);
  EXPECT_TRUE(image.FitMode());
  EXPECT_EQ(image.Zoom(), 4);
  EXPECT_FALSE(image.iImage().FitToWindow()) << "the viewer is not touched while IsPDF";
  EXPECT_EQ(image.iImage().Zoom(), 2);

  image.setIsPDF(false);
  image.LoadDocument();
  EXPECT_TRUE(IsWindowVisible(image.iImage().hwnd()));
  EXPECT_EQ(image.iImage().Zoom(), 4);
  image.setFitMode(true);
  EXPECT_TRUE(image.iImage().FitToWindow());

  // Files the viewer cannot open: their error reaches the caller, the viewer is empty.
  for (const auto& [path, error] : {std::pair{File(L"missing.jpg"), err::FileNotFound},
                                    std::pair{File(L"notes.jpg"), err::InvalidPicture}}) {
    image.setPath(path);
    EXPECT_EQ(ErrorOf([&] { image.LoadDocument(); }), error);
    EXPECT_FALSE(image.iImage().HasImage());
    EXPECT_TRUE(IsWindowVisible(image.hwnd())) << "the control paints again after the error";
    test::Pump();
  }
}

TEST_F(VkImageTest, ThumbnailsOwnTheirViewerStartFromTheDesignBagAndHoldTheirShownSize) {
  VkImage& first = AddImage(L"PSlide", 0);
  first.ReadProperties(PropertyBag{{L"FitMode", false}, {L"CategoriaId", L"3"}});
  first.setCategoriaId(L"9");
  ControlArray<VkImage> slides(first);
  VkImage& second = slides.Load(1);
  EXPECT_EQ(second.CategoriaId(), L"3") << "element 0's design bag, not its current values";
  EXPECT_FALSE(second.FitMode());
  ASSERT_NE(&second.iImage(), &first.iImage());
  EXPECT_EQ(FindVkWindow(second.hwnd(), L"iImage"), second.iImage().hwnd());
  EXPECT_TRUE(form->ControlsOf<hosted::ImageViewer>().empty()) << "viewers belong to their controls";

  // Loaded as the find command loads them: a scan fitted, a PDF marked.
  second.Move(first.left() + first.width() + 200, first.top(), first.width(), first.height());
  second.setVisible(true);
  first.setPath(File(L"page.jpg"));
  second.setIsPDF(true);
  for (VkImage* thumbnail : {&first, &second}) {
    thumbnail->LoadDocument();
    thumbnail->setFitMode(true);
  }
  const hosted::PixelSize held = first.iImage().HeldSize();
  EXPECT_LE(held.width, first.clientWidth()) << "decoded at the thumbnail's size";
  EXPECT_EQ(held.height, first.clientHeight());
  EXPECT_LT(test::GreyAt(first.iImage().hwnd(), first.clientWidth() / 2, first.clientHeight() / 4), 0x60);
  EXPECT_FALSE(second.iImage().HasImage());

  // Beside them, a large view as a thumbnail's click shows it: at 0.53, with scroll bars.
  VkImage& large = form->Add<VkImage>(test::At(4400, 150, 4400, 5600, L"PSelection"));
  large.setFitMode(false);
  large.setZoom(0.53);
  large.setPath(File(L"page.jpg"));
  large.LoadDocument();
  EXPECT_EQ(large.iImage().ShownSize(), (hosted::PixelSize{1314, 1859}));
  test::Pump();
  ASSERT_TRUE(SaveWindowPicture(form.hwnd(), L"capture_vk_image_thumbnails.bmp"));
  // The picture shows the page's dark top and light bottom in the fitted scan, the PDF
  // mark, and the dark top-left part of the page in the large view.
  const test::PictureFile picture(L"capture_vk_image_thumbnails.bmp", form.hwnd());
  const HWND scan = first.iImage().hwnd(), view = large.iImage().hwnd();
  EXPECT_LT(picture.GreyAt(scan, first.clientWidth() / 2, first.clientHeight() / 4), 0x60);
  EXPECT_GT(picture.GreyAt(scan, first.clientWidth() / 2, first.clientHeight() * 3 / 4), 0xA0);
  EXPECT_GT(picture.Count(second.hwnd(), RGB(176, 0, 0)), 20);
  EXPECT_LT(picture.GreyAt(view, 100, 100), 0x60);

  // Element 0 made without a bag: its clones start empty too.
  AddImage(L"PBare", 0).setCategoriaId(L"5");
  EXPECT_EQ(dynamic_cast<VkImage&>(form->LoadElement(L"PBare", 1)).CategoriaId(), L"");
}

}  // namespace
}  // namespace vk
