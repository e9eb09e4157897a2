// One form with one of each hosted control, driven with real clicks and keys; the
// events they raise are recorded and compared, and a picture of the form is written
// to hosted_showcase.bmp beside the test program for a reviewer to look at.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <string>
#include <vector>

#include "hosted/combo_box.h"
#include "hosted/date_picker.h"
#include "hosted/fake_recordset.h"
#include "hosted/frame.h"
#include "hosted/image_viewer.h"
#include "hosted/picture_box.h"
#include "hosted/rich_text.h"
#include "hosted/sample_images.h"
#include "hosted/simple_controls.h"
#include "hosted/tab_progress.h"
#include "hosted/text_box.h"
#include "hosted/toolbar.h"
#include "hosted/window_driver.h"
#include "runtime/window_picture.h"

namespace vk::hosted {
namespace {

HBITMAP Swatch(COLORREF colour, int width, int height) {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HDC memory = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(memory, bitmap);
  RECT all{0, 0, width, height};
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(memory, &all, brush);
  DeleteObject(brush);
  SelectObject(memory, old);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return bitmap;
}

TEST(Showcase, OneOfEachControlDrivenByClicksAndKeys) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  std::wstring folder = test::FreshFolder(L"showcase");
  ASSERT_TRUE(test::WriteSamplePage(folder + L"\\scan.jpg", test::ImageFormat::Jpg, 2480, 3508));

  test::ShownForm form(11475, 8430);
  std::vector<std::wstring> log;
  auto note = [&log](std::wstring entry) { log.push_back(std::move(entry)); };

  auto& toolbar = form->Add<Toolbar>(test::At(60, 45, 11300, 450, L"TBarMain"));
  toolbar.AddButton(L"BTN_KIL", L"Salir", LoadIconW(nullptr, IDI_HAND), L"Salir");
  toolbar.AddSeparator();
  toolbar.AddButton(L"BTN_SAV", L"Grabar", LoadIconW(nullptr, IDI_INFORMATION), L"Grabar");
  toolbar.AddButton(L"BTN_FIN", L"Buscar", LoadIconW(nullptr, IDI_QUESTION), L"Buscar");
  toolbar.ButtonClick.Connect([&](ToolbarClick& c) { note(L"toolbar " + c.key + L" " + std::to_wstring(c.index)); });

  auto& header = form->Add<Frame>(test::At(120, 600, 5500, 3400, L"VkHeader"), L"Datos Principales");
  header.SetExpandSwitch(true);
  header.Expand.Connect([&] { note(L"header expand"); });
  header.Collapse.Connect([&] { note(L"header collapse"); });
  ControlArgs inHeader = test::At(150, 450, 1300, 300, L"lblCategoriaId");
  inHeader.container = &header;
  form->Add<Label>(inHeader, L"Categoría");
  inHeader = test::At(1500, 400, 3800, 315, L"cboCategoriaId");
  inHeader.container = &header;
  auto& combo = form->Add<ComboBox>(inHeader);
  combo.Change.Connect([&](int) { note(L"combo " + ComboKeyOf(combo.Text())); });
  inHeader = test::At(150, 900, 1300, 300, L"lblCBarra");
  inHeader.container = &header;
  form->Add<Label>(inHeader, L"Código");
  inHeader = test::At(1500, 850, 3800, 315, L"txtCBarra");
  inHeader.container = &header;
  auto& text = form->Add<TextBox>(inHeader);
  text.Change.Connect([&](int) { note(L"text " + text.Text()); });
  inHeader = test::At(150, 1350, 1300, 300, L"lblFecha");
  inHeader.container = &header;
  form->Add<Label>(inHeader, L"Fecha");
  inHeader = test::At(1500, 1300, 1800, 315, L"dtpFecha");
  inHeader.container = &header;
  auto& date = form->Add<DatePicker>(inHeader);
  date.Change.Connect([&](int) { note(L"date"); });
  inHeader = test::At(3400, 1300, 1900, 315, L"DTPicker1");
  inHeader.container = &header;
  auto& systemDate = form->Add<DatePicker>(inHeader);
  systemDate.SetCheckNull(true);
  inHeader = test::At(150, 1800, 2500, 300, L"chkPropios");
  inHeader.container = &header;
  auto& check = form->Add<CheckBox>(inHeader, L"Sólo los propios");
  check.Click.Connect([&](int) { note(L"check " + std::to_wstring(check.Value())); });
  inHeader = test::At(150, 2300, 5200, 300, L"PBar");
  inHeader.container = &header;
  auto& progress = form->Add<ProgressBar>(inHeader);
  inHeader = test::At(150, 2750, 1400, 450, L"cmdOK");
  inHeader.container = &header;
  auto& ok = form->Add<CommandButton>(inHeader, L"&Aceptar");
  ok.Click.Connect([&](int) { note(L"ok"); });
  inHeader = test::At(4500, 2700, 600, 600, L"PCategoriaId");
  inHeader.container = &header;
  auto& picture = form->Add<PictureBox>(inHeader);
  inHeader = test::At(3700, 2700, 600, 600, L"PSource");
  inHeader.container = &header;
  auto& source = form->Add<PictureBox>(inHeader);
  source.SetPicture(Swatch(RGB(0, 128, 192), 40, 40));

  auto& tabs = form->Add<TabControl>(test::At(120, 4150, 5500, 450, L"TContainer"),
                                     std::vector<std::wstring>{L"Comentarios", L"Filtros"});
  tabs.Click.Connect([&] { note(L"tab " + std::to_wstring(tabs.Tab())); });
  auto& rich = form->Add<RichTextEditor>(test::At(120, 4650, 5500, 3400, L"rtfTexto"));
  form->Add<MenuHook>(test::At(0, 0, 0, 0, L"ctxHookMenu1"));

  auto& viewer = form->Add<ImageViewer>(test::At(5800, 600, 5550, 7450, L"iImage"));
  viewer.SetFilePath(folder + L"\\scan.jpg");
  viewer.Load();
  viewer.SetFitToWindow(true);

  // Fill as the screens do, then drive every control as a user would.
  auto* recordset = new test::FakeRecordset({{L"01", L"Contratos"}, {L"02", L"Facturas"}, {L"03", L"Planos"}});
  combo.LoadRecordSetAPI(recordset);
  recordset->Release();
  test::ClickIn(toolbar.inner(), toolbar.ButtonRect(toolbar.IndexOfKey(L"BTN_SAV")));
  SetFocus(combo.inner());
  test::Key(combo.inner(), VK_DOWN);
  test::Key(combo.inner(), VK_DOWN);
  combo.SelectKey(L"03");
  SetFocus(text.inner());
  test::Type(text.inner(), L"CB7");
  date.SetValueText(L"1-3-2025");
  test::Click(check.inner(), 5, 5);
  test::ClickIn(tabs.inner(), tabs.TabRect(1));
  test::ClickIn(header.hwnd(), header.SwitchRect());
  test::ClickIn(header.hwnd(), header.SwitchRect());
  test::Click(ok.inner(), 10, 10);
  progress.SetMax(4);
  progress.SetValue(3);
  picture.CopyPictureFrom(source);
  SetFocus(rich.inner());
  rich.SetTextRTF(L"{\\rtf1\\ansi {\\b usuario} - Fecha : [ 01/03/2025 ]\\par Documento revisado.}");
  toolbar.SetLook(2, toolbar.IndexOfKey(L"BTN_FIN"), 9);

  const std::vector<std::wstring> expected{
      L"toolbar BTN_SAV 3", L"combo 01", L"combo 02", L"combo 03", L"text C", L"text CB", L"text CB7", L"date",
      L"check 1",           L"tab 1",    L"header collapse",       L"header expand", L"ok"};
  EXPECT_EQ(log, expected);
  EXPECT_EQ(ComboKeyOf(combo.Text()), L"03");
  EXPECT_EQ(text.Text(), L"CB7");
  EXPECT_EQ(check.Value(), 1);
  EXPECT_EQ(tabs.Tab(), 1);
  EXPECT_EQ(header.ExpandState(), 1);
  EXPECT_EQ(progress.Value(), 3);
  EXPECT_NE(picture.Picture(), nullptr);
  EXPECT_EQ(rich.Text(), L"usuario - Fecha : [ 01/03/2025 ]\r\nDocumento revisado.");
  systemDate.ClearValue();
  EXPECT_FALSE(systemDate.HasDate());
  EXPECT_LE(viewer.HeldSize().height, 497);

  // Above every other window, so that the screen shows the form alone.
  SetWindowPos(form.hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(form.hwnd());
  RedrawWindow(form.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  test::Pump();
  const std::wstring picturePath = L"hosted_showcase.bmp";
  EXPECT_TRUE(SaveWindowPicture(form.hwnd(), picturePath));
  EXPECT_GT(test::ReadBytes(picturePath).size(), 100000u);
}

}  // namespace
}  // namespace vk::hosted
