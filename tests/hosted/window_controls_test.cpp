// The other controls through real windows: toolbar, buttons, check box, frame, tab,
// progress bar, date picker, rich text, picture box, line, and the extender properties.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <functional>

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "base/vb_error.h"
#include "hosted/date_picker.h"
#include "hosted/frame.h"
#include "hosted/line.h"
#include "hosted/picture_box.h"
#include "hosted/rich_text.h"
#include "hosted/rich_text_ruler.h"
#include "hosted/simple_controls.h"
#include "hosted/tab_progress.h"
#include "hosted/text_box.h"
#include "hosted/toolbar.h"
#include "hosted/window_driver.h"
#include "runtime/twips.h"
#include "runtime/vk_name.h"
#include "support/error_of.h"
#include "support/memory_dc.h"

namespace vk::hosted {
namespace {

using test::ErrorOf;

class ToolbarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HICON icon = LoadIconW(nullptr, IDI_APPLICATION);
    bar.AddButton(L"BTN_KIL", L"Salir", icon);
    bar.AddSeparator();
    bar.AddButton(L"BTN_SAV", L"Grabar", icon);
    bar.AddButton(L"BTN_REP", L"Informes", nullptr, L"Rep");
    bar.ButtonClick.Connect([this](ToolbarClick& click) { clicks.push_back(click); });
  }
  test::ShownForm form;
  Toolbar& bar = form->Add<Toolbar>(test::At(0, 0, 600 * 15, 30 * 15, L"TBarMain"));
  std::vector<ToolbarClick> clicks;
};

TEST_F(ToolbarTest, KeysTurnIntoIndexesCountingSeparators) {
  EXPECT_EQ(bar.ButtonCount(), 4);
  struct Case {
    const wchar_t* key;
    int index;
  };
  for (const Case& c : {Case{L"BTN_KIL", 1}, Case{L"BTN_SAV", 3}, Case{L"BTN_REP", 4}}) {
    EXPECT_EQ(bar.IndexOfKey(c.key), c.index) << c.key;
    EXPECT_EQ(bar.Key(c.index), c.key);
  }
  EXPECT_EQ(ErrorOf([&] { bar.IndexOfKey(L"btn_sav"); }), 35601);
  EXPECT_EQ(ErrorOf([&] { bar.IndexOfKey(L""); }), 35601);
  EXPECT_EQ(ErrorOf([&] { bar.ButtonState(9); }), err::SubscriptOutOfRange);
  EXPECT_EQ(bar.ToolTipText(3), L"Grabar");
  // A driver outside the process reads the keys off the window and presses by index.
  EXPECT_EQ(VkButtonKeyOf(bar.hwnd(), 4), L"BTN_REP");
  EXPECT_EQ(VkButtonKeyOf(bar.hwnd(), 2), L"") << "a separator has no key";
  SendMessageW(bar.hwnd(), WM_COMMAND, MAKEWPARAM(4, BN_CLICKED), reinterpret_cast<LPARAM>(bar.inner()));
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0].key, L"BTN_REP");
}

TEST_F(ToolbarTest, AClickReportsIndexKeyAndTheButtonsLowerLeftCorner) {
  const int index = bar.IndexOfKey(L"BTN_SAV");
  RECT rect = bar.ButtonRect(index);
  test::ClickIn(bar.inner(), rect);
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0].index, index);
  EXPECT_EQ(clicks[0].key, L"BTN_SAV");
  EXPECT_EQ(clicks[0].x, rect.left * 15);
  EXPECT_EQ(clicks[0].y, rect.bottom * 15);
  EXPECT_TRUE(clicks[0].flag);
  // The tool tip asks its parent for the text of the button under the mouse.
  NMTTDISPINFOW info{};
  info.hdr.hwndFrom = bar.inner();
  info.hdr.idFrom = static_cast<UINT_PTR>(index);
  info.hdr.code = TTN_GETDISPINFOW;
  SendMessageW(bar.hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_STREQ(info.lpszText, L"Grabar");
}

TEST_F(ToolbarTest, StatesAndEnabledDecideWhetherAButtonAnswers) {
  const int index = bar.IndexOfKey(L"BTN_REP");
  struct Case {
    int state;
    bool enabled;
    bool checked;
    bool answers;
  };
  for (const Case& c : {Case{0, true, false, true}, Case{2, true, true, true}, Case{4, true, true, true},
                        Case{5, true, false, false}, Case{0, false, false, false}}) {
    clicks.clear();
    bar.SetButtonState(index, c.state);
    bar.SetButtonEnabled(index, c.enabled);
    EXPECT_EQ(bar.ButtonState(index), c.state);
    EXPECT_EQ(SendMessageW(bar.inner(), TB_ISBUTTONCHECKED, index, 0) != 0, c.checked) << c.state;
    test::ClickIn(bar.inner(), bar.ButtonRect(index));
    EXPECT_EQ(clicks.size(), c.answers ? 1u : 0u) << c.state << c.enabled;
  }
  for (int bad : {1, 3, 6, -1}) EXPECT_EQ(ErrorOf([&] { bar.SetButtonState(index, bad); }), err::InvalidPropertyValue);
}

TEST_F(ToolbarTest, SetLookWithCodeNinePressesAndReleases) {
  const int index = bar.IndexOfKey(L"BTN_SAV");
  bar.SetLook(2, index, 9);
  EXPECT_EQ(bar.ButtonState(index), 2);
  EXPECT_NE(SendMessageW(bar.inner(), TB_ISBUTTONCHECKED, index, 0), 0);
  bar.SetLook(0, index, 9);
  EXPECT_EQ(bar.ButtonState(index), 0);
  EXPECT_EQ(ErrorOf([&] { bar.SetLook(2, index, 8); }), err::InvalidProcedureCall);
  EXPECT_EQ(ErrorOf([&] { bar.SetLook(1, index, 9); }), err::InvalidProcedureCall);
}

TEST(Buttons, ClicksRaiseTheirEvents) {
  test::ShownForm form;
  auto& button = form->Add<CommandButton>(test::At(150, 150, 1200, 400, L"cmdOK"), L"&Ok");
  auto& check = form->Add<CheckBox>(test::At(150, 750, 1800, 300, L"chkPropios"), L"Propios");
  int buttonClicks = 0;
  std::vector<int> checkValues;
  button.Click.Connect([&](int) { ++buttonClicks; });
  check.Click.Connect([&](int) { checkValues.push_back(check.Value()); });
  test::Click(button.inner(), 10, 10);
  test::Click(check.inner(), 5, 5);
  test::Click(check.inner(), 5, 5);
  check.SetValue(1);
  check.SetValue(1);  // no change, no event
  EXPECT_EQ(buttonClicks, 1);
  EXPECT_EQ(checkValues, (std::vector<int>{1, 0, 1}));
  EXPECT_EQ(button.Caption(), L"&Ok");
  EXPECT_EQ(ErrorOf([&] { check.SetValue(2); }), err::InvalidPropertyValue);
}

TEST(Extender, PlaceVisibilityTagContainerAndArrays) {
  test::ShownForm form;
  auto& frame = form->Add<Frame>(test::At(300, 300, 6000, 4500, L"VkContainer"), L"Datos");
  auto& label = form->Add<Label>(test::At(150, 150, 1500, 300, L"lblCategoriaId"), L"Categoría");
  label.Move(450, 600, 1800, 330);
  RECT place{};
  GetWindowRect(label.hwnd(), &place);
  MapWindowPoints(HWND_DESKTOP, form.hwnd(), reinterpret_cast<POINT*>(&place), 2);
  EXPECT_EQ(place.left, 30);
  EXPECT_EQ(place.top, 40);
  EXPECT_EQ(place.right - place.left, 120);
  EXPECT_EQ(place.bottom - place.top, 22);
  label.setContainer(frame);
  EXPECT_EQ(GetParent(label.hwnd()), frame.hwnd());
  EXPECT_EQ(label.left(), 450);  // the place is kept, now inside the frame
  label.setVisible(false);
  EXPECT_FALSE(IsWindowVisible(label.hwnd()));
  label.setEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(label.inner()));
  EXPECT_EQ(label.Caption(), L"Categoría");

  // Field editors are loaded as elements of control arrays: a clone keeps the settings.
  auto& first = form->Add<TextBox>([] {
    ControlArgs args = test::At(400, 0, 2000, 315, L"VkTextBox");
    args.index = 0;
    return args;
  }());
  first.SetFieldName(L"Campo");
  first.SetAlignment(2);
  first.SetBackColor(0x80000005);
  std::vector<int> changed;
  first.Change.Connect([&](int index) { changed.push_back(index); });
  auto& second = dynamic_cast<TextBox&>(form->LoadElement(L"VkTextBox", 1));
  EXPECT_FALSE(second.visible());
  EXPECT_EQ(second.FieldName(), L"Campo");
  EXPECT_EQ(second.Alignment(), 2);
  second.setVisible(true);
  second.setContainer(frame);
  second.SetText(L"x");
  first.SetText(L"y");
  EXPECT_EQ(changed, (std::vector<int>{1, 0}));
}

TEST(FrameControl, TheSwitchCollapsesAndExpandsWithEvents) {
  test::ShownForm form;
  auto& header = form->Add<Frame>(test::At(0, 0, 6000, 3000, L"header"), L"Datos Principales");
  std::vector<std::string> events;
  header.Expand.Connect([&] { events.push_back("expand"); });
  header.Collapse.Connect([&] { events.push_back("collapse"); });
  header.SetExpandSwitch(true);
  EXPECT_EQ(header.ExpandState(), 1);
  test::ClickIn(header.hwnd(), header.SwitchRect());
  EXPECT_EQ(header.ExpandState(), 0);
  EXPECT_EQ(header.height(), header.CaptionHeight());
  RECT window{};
  GetClientRect(header.hwnd(), &window);
  EXPECT_EQ(window.bottom, 20);
  test::ClickIn(header.hwnd(), header.SwitchRect());
  EXPECT_EQ(header.height(), 3000);
  header.SetExpandState(1);  // already expanded: nothing happens
  header.SetExpandState(0);
  EXPECT_EQ(events, (std::vector<std::string>{"collapse", "expand", "collapse"}));
  EXPECT_EQ(ErrorOf([&] { header.SetExpandState(2); }), err::InvalidPropertyValue);
}

TEST(FrameControl, MouseDownPassesButtonShiftAndTwips) {
  test::ShownForm form;
  auto& frame = form->Add<Frame>(test::At(0, 0, 6000, 3000, L"frame"), L"Ostrela");
  struct Press {
    int button, shift;
    double x, y;
  };
  std::vector<Press> presses;
  frame.MouseDown.Connect([&](int button, int shift, double x, double y) { presses.push_back({button, shift, x, y}); });
  SendMessageW(frame.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 5));
  SendMessageW(frame.hwnd(), WM_RBUTTONDOWN, MK_RBUTTON | MK_SHIFT | MK_CONTROL, MAKELPARAM(40, 30));
  // A press on the switch of a frame without one is an ordinary press.
  test::ClickIn(frame.hwnd(), frame.SwitchRect());
  ASSERT_EQ(presses.size(), 3u);
  EXPECT_EQ(presses[0].button, 1);
  EXPECT_EQ(presses[0].shift, 0);
  EXPECT_EQ(presses[0].x, 150);
  EXPECT_EQ(presses[0].y, 75);
  EXPECT_EQ(presses[1].button, 2);
  EXPECT_EQ(presses[1].shift, 3);
  EXPECT_EQ(presses[1].x, 600);
  frame.SetCaption(L"Aviso");
  EXPECT_EQ(frame.Caption(), L"Aviso");
}

TEST(TabControlWindow, ClickingATabSelectsItAndRaisesClick) {
  test::ShownForm form;
  auto& tabs = form->Add<TabControl>(test::At(0, 0, 6000, 3000, L"tabs"), std::vector<std::wstring>{L"Resultados", L"Filtros"});
  int clicks = 0;
  tabs.Click.Connect([&] { ++clicks; });
  EXPECT_EQ(tabs.Tab(), 0);
  test::ClickIn(tabs.inner(), tabs.TabRect(1));
  EXPECT_EQ(tabs.Tab(), 1);
  tabs.SetTab(0);
  tabs.SetTab(0);
  EXPECT_EQ(clicks, 2);
  for (int bad : {-1, 2}) EXPECT_EQ(ErrorOf([&] { tabs.SetTab(bad); }), err::InvalidPropertyValue);
}

// Whether a window shows a colour anywhere in its client area.
bool Shows(HWND window, COLORREF colour) {
  UpdateWindow(window);
  RECT client{};
  GetClientRect(window, &client);
  HDC dc = GetDC(window);
  bool found = false;
  for (int y = 0; y < client.bottom && !found; ++y)
    for (int x = 0; x < client.right && !found; ++x) found = GetPixel(dc, x, y) == colour;
  ReleaseDC(window, dc);
  return found;
}

LOGFONTW FontOf(HWND window) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof font, &font);
  return font;
}

TEST(Look, ControlsTakeTheFormsFontBoldOnRequestAndButtonsTheirTextColour) {
  test::ShownForm form;
  AmbientProperties ambient;
  ambient.fontName = L"Verdana";
  form->setAmbient(ambient);
  auto& label = form->Add<Label>(test::At(150, 150, 3000, 300, L"Label4"), L"Buscador");
  auto& check = form->Add<CheckBox>(test::At(150, 600, 3000, 330, L"chkFilter"), L"Solo mi usuario");
  auto& button = form->Add<CommandButton>(test::At(150, 1050, 1200, 400, L"cmdNext"), L"WWW");
  for (FormControl* control : std::initializer_list<FormControl*>{&label, &check, &button}) {
    EXPECT_STREQ(FontOf(control->inner()).lfFaceName, L"Verdana") << control->name();
    EXPECT_EQ(FontOf(control->inner()).lfHeight, -11) << "8.25 points at 96 dpi";
  }
  label.SetFontBold(true);
  EXPECT_EQ(FontOf(label.inner()).lfWeight, FW_BOLD);
  // The system draws a push button's text in its own colour: with one of its own the
  // button draws itself, and still clicks.
  EXPECT_FALSE(Shows(button.inner(), RGB(200, 0, 0)));
  button.SetForeColor(0x000000C8);
  EXPECT_TRUE(Shows(button.inner(), RGB(200, 0, 0)));
  int clicks = 0;
  button.Click.Connect([&](int) { ++clicks; });
  test::Click(button.inner(), 10, 10);
  EXPECT_EQ(clicks, 1);
}

TEST(ProgressBarWindow, MaximumAndValueReachTheBar) {
  test::ShownForm form;
  auto& bar = form->Add<ProgressBar>(test::At(0, 0, 6000, 300, L"bar"));
  bar.SetMax(40);
  bar.SetValue(10);
  EXPECT_EQ(SendMessageW(bar.inner(), PBM_GETRANGE, FALSE, 0), 40);
  EXPECT_EQ(SendMessageW(bar.inner(), PBM_GETPOS, 0, 0), 10);
  // A quarter of the bar shows filled, the rest empty.
  RECT client{};
  GetClientRect(bar.inner(), &client);
  HDC dc = GetDC(bar.inner());
  EXPECT_EQ(GetPixel(dc, client.right / 8, client.bottom / 2), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(GetPixel(dc, client.right * 3 / 8, client.bottom / 2), GetSysColor(COLOR_3DFACE));
  ReleaseDC(bar.inner(), dc);
  bar.SetMax(5);  // the value follows a smaller maximum
  EXPECT_EQ(bar.Value(), 5);
  EXPECT_EQ(ErrorOf([&] { bar.SetValue(6); }), err::InvalidPropertyValue);
  EXPECT_EQ(ErrorOf([&] { bar.SetValue(-1); }), err::InvalidPropertyValue);
  // A maximum of 0 (an empty folder, a strip of one thumbnail) shows an empty bar.
  bar.SetMax(0);
  EXPECT_EQ(bar.Value(), 0);
  EXPECT_EQ(SendMessageW(bar.inner(), PBM_GETPOS, 0, 0), 0);
  EXPECT_EQ(ErrorOf([&] { bar.SetValue(1); }), err::InvalidPropertyValue);
  EXPECT_EQ(ErrorOf([&] { bar.SetMax(-1); }), err::InvalidPropertyValue);
}

TEST(LabelWindow, AutoSizeFitsTheCaptionWheneverItChanges) {
  test::ShownForm form;
  auto& label = form->Add<Label>(test::At(400, 0, 300, 285, L"lblTitle"), L"Nombre");
  label.SetAutoSize(true);
  const double shortWidth = label.width();
  label.SetCaption(L"Número de expediente del cliente");
  EXPECT_GT(label.width(), 2 * shortWidth);
  RECT inner{};
  GetClientRect(label.inner(), &inner);
  EXPECT_EQ(inner.right, TwipsToPixels(label.width())) << "the window follows";
  label.setHeight(285);  // set afterwards: stays until the caption changes
  EXPECT_EQ(label.height(), 285);
  label.SetCaption(L"Fecha");
  EXPECT_LT(label.height(), 285);
  EXPECT_EQ(label.left(), 400);
  label.SetAutoSize(false);
  const double width = label.width();
  label.SetCaption(L"Una leyenda mucho más larga que la anterior");
  EXPECT_EQ(label.width(), width);
}

DATE Day(int year, int month, int day) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(year);
  st.wMonth = static_cast<WORD>(month);
  st.wDay = static_cast<WORD>(day);
  DATE date = 0;
  SystemTimeToVariantTime(&st, &date);
  return date;
}

TEST(DateText, IsReadDayFirst) {
  struct Case {
    const wchar_t* text;
    DATE date;  // 0: not a date
  };
  const Case cases[] = {
      {L"07/12/2026", Day(2026, 12, 7)}, {L"7-12-2026", Day(2026, 12, 7)}, {L"01-3-2025", Day(2025, 3, 1)},
      {L"29/02/2024", Day(2024, 2, 29)}, {L"2026-12-07", Day(2026, 12, 7)}, {L"5.6.99", Day(1999, 6, 5)},
      {L" 5/6/07 ", Day(2007, 6, 5)},    {L"31/04/2026", 0},                {L"29/02/2025", 0},
      {L"13/13/2026", 0},                {L"hoy", 0},                       {L"", 0},
      {L"1/2", 0},                       {L"1/2-2026", 0},                  {L"1/2/2026 x", 0},
      {L"00/01/2026", 0},
  };
  for (const Case& c : cases) {
    std::optional<DATE> date = ParseDateText(c.text);
    if (c.date == 0) {
      EXPECT_FALSE(date.has_value()) << c.text;
    } else {
      ASSERT_TRUE(date.has_value()) << c.text;
      EXPECT_EQ(*date, c.date) << c.text;
    }
  }
}

TEST(DatePickerWindow, ValueTextsCheckNullAndChangeEvents) {
  test::ShownForm form;
  auto& picker = form->Add<DatePicker>(test::At(0, 0, 1500, 315, L"picker"));
  int changes = 0;
  picker.Change.Connect([&](int) { ++changes; });
  picker.SetValueText(L"1-3-2025");
  EXPECT_EQ(picker.Value(), Day(2025, 3, 1));
  picker.SetValue(Day(2025, 3, 1) + 0.75);  // the time is dropped: no change
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(ErrorOf([&] { picker.SetValueText(L"32/12/2026"); }), err::TypeMismatch);
  EXPECT_EQ(picker.Value(), Day(2025, 3, 1));
  EXPECT_EQ(ErrorOf([&] { picker.ClearValue(); }), err::InvalidPropertyValue);
  picker.SetCheckNull(true);
  picker.ClearValue();
  EXPECT_FALSE(picker.HasDate());
  picker.SetCheckNull(false);
  EXPECT_TRUE(picker.HasDate());
  EXPECT_EQ(changes, 2);
  // The user's change through the control reaches the event.
  SYSTEMTIME st{};
  VariantTimeToSystemTime(Day(2027, 1, 2), &st);
  NMDATETIMECHANGE change{};
  change.nmhdr.hwndFrom = picker.inner();
  change.nmhdr.code = DTN_DATETIMECHANGE;
  change.dwFlags = GDT_VALID;
  change.st = st;
  SendMessageW(picker.inner(), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
  SendMessageW(picker.hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&change));
  EXPECT_EQ(changes, 3);
  EXPECT_EQ(picker.Value(), Day(2027, 1, 2));
}

TEST(RichText, PlainAndRichTextInReadOnlyAndMargins) {
  test::ShownForm form;
  auto& editor = form->Add<RichTextEditor>(test::At(0, 0, 6000, 3000, L"editor"));
  struct Case {
    const wchar_t* input;
    const wchar_t* text;
  };
  for (const Case& c : {Case{L"Hola mundo", L"Hola mundo"}, Case{L"{\\rtf1\\ansi {\\b Hola} mundo}", L"Hola mundo"},
                        Case{L"usuario - Fecha : [ 07/12/2026 ]", L"usuario - Fecha : [ 07/12/2026 ]"},
                        Case{L"línea uno\r\nlínea dos\r\n\r\n", L"línea uno\r\nlínea dos\r\n\r\n"},
                        Case{L"", L""}}) {
    editor.SetTextRTF(c.input);
    EXPECT_EQ(editor.Text(), c.text) << c.input;
    std::wstring rtf = editor.TextRTF();
    EXPECT_EQ(rtf.rfind(L"{\\rtf", 0), 0u);
    // What it gives back reads in again as the same text.
    editor.SetTextRTF(rtf);
    EXPECT_EQ(editor.Text(), c.text);
  }
  // No limit of the system control's own on what the user may type.
  EXPECT_GE(SendMessageW(editor.inner(), EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE);
  editor.SetTextRTF(L"");
  SetFocus(editor.inner());
  test::Type(editor.inner(), L"ab");
  EXPECT_EQ(editor.Text(), L"ab");
  editor.SetReadOnly(true);
  test::Type(editor.inner(), L"cd");
  EXPECT_EQ(editor.Text(), L"ab");
  editor.SetRulerBar(true);
  editor.SetRightMargin(9000);
  editor.SetAutoVerbMenu(true);
  editor.SetScrollBars(3);
  EXPECT_TRUE(editor.RulerBar());
  EXPECT_EQ(editor.RightMargin(), 9000);
  EXPECT_EQ(ErrorOf([&] { editor.SetRightMargin(-1); }), err::InvalidPropertyValue);
  EXPECT_EQ(ErrorOf([&] { editor.SetScrollBars(4); }), err::InvalidPropertyValue);
}

TEST(RichText, RulerTicksEachUnitFromTheTextsEdgeAndMarksTheRightMargin) {
  const int h = RulerHeight(), origin = 10, margin = 250;
  const int tickRow = h - 9, halfTickRow = h - 12, paperRow = 4, markRow = h - 2;  // at 96 dpi
  const long ink = GetSysColor(COLOR_BTNTEXT), paper = GetSysColor(COLOR_WINDOW), face = GetSysColor(COLOR_BTNFACE);
  const struct {
    RulerUnit unit;
    double stepPixels;  // 96 pixels an inch
    int steps;          // to the unit
  } cases[] = {{RulerUnit::Inch, 96.0 / 8, 8}, {RulerUnit::Centimetre, 96 / 2.54 / 4, 4}};
  for (const auto& c : cases) {
    test::MemoryDc ruler(400, h);
    DrawRuler(ruler.dc(), {0, 0, 400, h}, origin, margin, c.unit);
    auto at = [&](double steps) { return origin + static_cast<int>(steps * c.stepPixels + 0.5); };
    for (int step = 1; at(step + 1) < margin; ++step) {
      if (step % c.steps == 0) continue;  // the unit's number stands there
      const bool half = step % (c.steps / 2) == 0;
      EXPECT_EQ(ruler.Pixel(at(step), tickRow), ink) << step;
      EXPECT_EQ(ruler.Pixel(at(step), halfTickRow), half ? ink : paper) << step;
      EXPECT_EQ(ruler.Pixel(at(step + 0.5), tickRow), paper) << step;
    }
    EXPECT_EQ(ruler.Pixel(origin - 2, paperRow), face);
    EXPECT_EQ(ruler.Pixel(margin - 2, paperRow), paper);
    EXPECT_EQ(ruler.Pixel(margin + 2, paperRow), face);
    EXPECT_EQ(ruler.Pixel(margin, markRow), ink);
    EXPECT_EQ(ruler.Pixel(margin - 6, markRow), face);
  }

  // In the editor: a strip above the text, in the machine's unit, whose mark moves with
  // the margin; switched off, the text takes the whole control again.
  test::ShownForm form;
  auto& editor = form->Add<RichTextEditor>(test::At(0, 0, 6000, 3000, L"editor"));
  auto textTop = [&] {
    RECT r{};
    GetWindowRect(editor.inner(), &r);
    MapWindowPoints(nullptr, editor.hwnd(), reinterpret_cast<POINT*>(&r), 2);
    return r.top;
  };
  EXPECT_EQ(textTop(), 0);
  editor.SetRulerBar(true);
  EXPECT_EQ(textTop(), h);
  std::vector<int> marks;
  test::MemoryDc shown(400, h);
  for (long twips : {2880L, 4320L}) {
    editor.SetRightMargin(twips);
    UpdateWindow(editor.hwnd());
    HDC dc = GetDC(editor.hwnd());
    BitBlt(shown.dc(), 0, 0, 400, h, dc, 0, 0, SRCCOPY);
    ReleaseDC(editor.hwnd(), dc);
    int first = -1, last = -1;
    for (int x = 0; x < 400; ++x) {
      if (shown.Pixel(x, markRow) != ink) continue;
      if (first < 0) first = x;
      last = x;
    }
    marks.push_back((first + last) / 2);
  }
  ASSERT_EQ(marks.size(), 2u);
  EXPECT_EQ(marks[1] - marks[0], 96);
  test::MemoryDc expected(400, h);
  DrawRuler(expected.dc(), {0, 0, 400, h}, marks[1] - 288, marks[1], MachineRulerUnit());
  GdiFlush();
  EXPECT_TRUE(std::equal(shown.bits(), shown.bits() + 400 * h, expected.bits()));
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  shown.Save(std::wstring(temp) + L"rich_text_ruler.bmp");  // for a reviewer
  editor.SetRulerBar(false);
  EXPECT_EQ(textTop(), 0);
}

TEST(LineWindow, CoversItsPointsPaintsItsColourAndLetsClicksThrough) {
  test::ShownForm form;
  auto& line = form->Add<Line>({.name = L"Line1"}, LinePoints{300, 600, 3300, 600});
  using Case = std::tuple<LinePoints, int, RECT>;  // points, thickness, where the window lies
  for (const auto& [points, thickness, pixels] :
       {Case{{3300, 600, 300, 600}, 2, {20, 40, 222, 42}}, Case{{1500, 2400, 1500, 900}, 1, {100, 60, 101, 161}}}) {
    line.SetBorderWidth(thickness);
    line.SetPoints(points);
    RECT r{};
    GetWindowRect(line.hwnd(), &r);
    MapWindowPoints(nullptr, form.hwnd(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_TRUE(EqualRect(&r, &pixels)) << r.left << "," << r.top << "," << r.right << "," << r.bottom;
  }
  line.SetBorderColor(0x0000FF);
  test::MemoryDc picture(1, 100);
  SendMessageW(line.hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(picture.dc()), PRF_CLIENT);
  EXPECT_EQ(picture.Pixel(0, 50), 0x0000FF);
  EXPECT_EQ(SendMessageW(line.hwnd(), WM_NCHITTEST, 0, 0), HTTRANSPARENT);
}

TEST(PictureBoxWindow, CopiesAPictureThatOutlivesItsSource) {
  test::ShownForm form;
  auto& target = form->Add<PictureBox>(test::At(0, 0, 1500, 1500, L"target"));
  {
    auto& source = form->Add<PictureBox>(test::At(1500, 0, 1500, 1500, L"source"));
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 40, 30);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, bitmap);
    RECT all{0, 0, 40, 30};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(memory, &all, red);
    DeleteObject(red);
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    source.SetPicture(bitmap);
    target.CopyPictureFrom(source);
    EXPECT_NE(target.Picture(), source.Picture());
  }
  ASSERT_NE(target.Picture(), nullptr);
  BITMAP info{};
  GetObjectW(target.Picture(), sizeof info, &info);
  EXPECT_EQ(info.bmWidth, 40);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP canvas = CreateCompatibleBitmap(screen, 100, 100);
  HGDIOBJ old = SelectObject(memory, canvas);
  SendMessageW(target.hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
  EXPECT_EQ(GetPixel(memory, 20, 15), RGB(255, 0, 0));
  SelectObject(memory, old);
  DeleteObject(canvas);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  auto& empty = form->Add<PictureBox>(test::At(0, 1500, 1500, 1500, L"empty"));
  target.CopyPictureFrom(empty);
  EXPECT_EQ(target.Picture(), nullptr);
}

// State icons are a control array of picture boxes that serve as buttons.
TEST(PictureBoxWindow, ClicksAndClonesCarryTheIndex) {
  test::ShownForm form;
  ControlArgs args = test::At(0, 0, 285, 285, L"PSlideState");
  args.index = 0;
  auto& first = form->Add<PictureBox>(args);
  HDC screen = GetDC(nullptr);
  first.SetPicture(CreateCompatibleBitmap(screen, 19, 19));
  ReleaseDC(nullptr, screen);
  std::vector<int> clicked;
  first.Click.Connect([&](int index) { clicked.push_back(index); });
  auto& second = dynamic_cast<PictureBox&>(form->LoadElement(L"PSlideState", 1));
  ASSERT_NE(second.Picture(), nullptr);
  EXPECT_NE(second.Picture(), first.Picture());
  test::Click(first.hwnd(), 5, 5);
  test::Click(second.hwnd(), 5, 5);
  SendMessageW(first.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(first.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(100, 5));  // released outside
  SendMessageW(second.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));   // never pressed on it
  EXPECT_EQ(clicked, (std::vector<int>{0, 1}));
  EXPECT_EQ(GetCapture(), nullptr);
}

}  // namespace
}  // namespace vk::hosted
