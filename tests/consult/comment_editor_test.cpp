// The comment editor opened the way the list screens open it (layered, then ShowForm)
// and answered through its real buttons and keys while it runs modally: the results of
// each way out, typing and read-only, a long history round trip with CR LF and through
// rich text, the fade-in read back from the window, maximise and restore, and the
// editor going with its screen.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "consult/comment_editor.h"
#include "host/shared_functions.h"
#include "hosted/window_driver.h"
#include "runtime/timer.h"

namespace {

using namespace vk;

struct Outcome {
  long result = -1;
  std::wstring texto, rtf;
  bool closed = false;
};

// Loads the editor, layers it, lets `setup` set its variables, and runs `act` once it
// is up; an editor that `act` leaves open is closed, so no test hangs.
Outcome RunEditor(const std::function<void(FEditorRTF&)>& setup, const std::function<void(FEditorRTF&)>& act,
                  HWND owner = nullptr) {
  auto editor = Form::Load<FEditorRTF>();
  SetWindowLayered(editor->hwnd());
  setup(*editor);
  Timer poke(20);
  poke.Tick.Connect([&] {
    poke.setEnabled(false);
    act(*editor);
    if (editor->loaded()) editor->Unload();
  });
  Outcome out;
  out.result = editor->ShowForm(owner);
  out.texto = editor->mTexto;
  out.rtf = editor->mTextoRTF;
  out.closed = !editor->loaded();
  editor->Unload();
  return out;
}

void Press(hosted::CommandButton& button) {
  SendMessageW(button.inner(), BM_CLICK, 0, 0);
  test::Pump();
}

TEST(CommentEditor, EachWayOutGivesItsResultAndText) {
  struct Case {
    const wchar_t* way;
    long result;
    const wchar_t* texto;
    const wchar_t* title;
    const wchar_t* shownTitle;
  };
  const Case cases[] = {
      {L"cmdOK", FEditorRTF::kOK, L"usuario - Fecha : [ 07/12/2026 ]\r\nRevisado", L"Comentarios del Documento",
       L"Comentarios del Documento"},
      {L"cmdCancel", FEditorRTF::kCancel, L"", L"", L"Editor"},
      {L"cmdQuit", FEditorRTF::kCancel, L"", L"", L"Editor"},
      {L"close", FEditorRTF::kClosed, L"usuario - Fecha : [ 07/12/2026 ]\r\nRevisado", L"", L"Editor"},
  };
  for (const Case& c : cases) {
    std::wstring shownTitle;
    const Outcome out = RunEditor(
        [&](FEditorRTF& e) {
          e.mTitle = c.title;
          e.mTexto = L"usuario - Fecha : [ 07/12/2026 ]\r\nRevisado";
          e.mTextoRTF = L"before";
        },
        [&](FEditorRTF& e) {
          shownTitle = e.VkContainer().Caption();
          if (std::wstring(c.way) == L"close") SendMessageW(e.hwnd(), WM_CLOSE, 0, 0);
          else Press(*static_cast<hosted::CommandButton*>(e.FindControl(c.way)));
        });
    EXPECT_EQ(out.result, c.result) << c.way;
    EXPECT_EQ(out.texto, c.texto) << c.way;
    EXPECT_TRUE(out.closed) << c.way;
    EXPECT_EQ(shownTitle, c.shownTitle) << c.way;
    if (c.result == FEditorRTF::kOK) {
      EXPECT_EQ(out.rtf.rfind(L"{\\rtf", 0), 0u);
    } else {
      EXPECT_EQ(out.rtf, L"before") << c.way;
    }
  }
}

TEST(CommentEditor, TypedLinesComeBackWithCrLfAndReadOnlyTakesNoInput) {
  for (bool readOnly : {false, true}) {
    const Outcome out = RunEditor(
        [&](FEditorRTF& e) {
          e.mTexto = L"Primero";
          e.mReadOnly = readOnly;
        },
        [&](FEditorRTF& e) {
          HWND text = e.rtfTexto().inner();
          SetFocus(text);
          SendMessageW(text, EM_SETSEL, -1, -1);
          for (const wchar_t* line : {L"Segundo", L"Tercero"}) {
            SendMessageW(text, WM_KEYDOWN, VK_RETURN, 1);
            SendMessageW(text, WM_CHAR, L'\r', 1);
            SendMessageW(text, WM_KEYUP, VK_RETURN, 0xC0000001);
            test::Type(text, line);
          }
          Press(e.cmdOK());
        });
    EXPECT_EQ(out.result, FEditorRTF::kOK);
    EXPECT_EQ(out.texto, readOnly ? L"Primero" : L"Primero\r\nSegundo\r\nTercero") << readOnly;
  }
}

TEST(CommentEditor, ALongHistoryComesBackWholeAsPlainAndAsRichText) {
  std::wstring history;
  for (int i = 0; i < 3000; ++i) {
    history += L"usuario - Fecha : [ 07/12/2026 10:15:00]\r\nComentario número " + std::to_wstring(i) +
               L" sobre el documento\r\n\r\n";
  }
  ASSERT_GT(history.size(), 200000u);
  // The user can still type at its end.
  const Outcome plain = RunEditor([&](FEditorRTF& e) { e.mTexto = history; },
                                  [](FEditorRTF& e) {
                                    SetFocus(e.rtfTexto().inner());
                                    SendMessageW(e.rtfTexto().inner(), EM_SETSEL, -1, -1);
                                    test::Type(e.rtfTexto().inner(), L"Fin");
                                    Press(e.cmdOK());
                                  });
  history += L"Fin";
  EXPECT_EQ(plain.result, FEditorRTF::kOK);
  EXPECT_TRUE(plain.texto == history) << "came back with " << plain.texto.size() << " characters";
  // The rich text it gave shows the same history again.
  const Outcome rich = RunEditor([&](FEditorRTF& e) { e.mTexto = plain.rtf; }, [](FEditorRTF& e) { Press(e.cmdOK()); });
  EXPECT_TRUE(rich.texto == history) << "came back with " << rich.texto.size() << " characters";
}

TEST(CommentEditor, FadesInFromTwentyToExactlyFullOpacity) {
  auto editor = Form::Load<FEditorRTF>();
  SetWindowLayered(editor->hwnd());
  std::vector<int> alphas;
  Timer watch(10);
  watch.Tick.Connect([&] {
    BYTE alpha = 0;
    DWORD flags = 0;
    if (GetLayeredWindowAttributes(editor->hwnd(), nullptr, &alpha, &flags) && (flags & LWA_ALPHA) &&
        (alphas.empty() || alphas.back() != alpha)) {
      alphas.push_back(alpha);
    }
    if (editor->fadeLevel() >= 255) {
      watch.setEnabled(false);
      Press(editor->cmdOK());
    }
  });
  EXPECT_EQ(editor->ShowForm(), FEditorRTF::kOK);
  editor->Unload();
  ASSERT_GE(alphas.size(), 2u);
  EXPECT_EQ(alphas.back(), 255);
  // Each level is one of the fade's steps (20, 30 ... 250, then 255), rising.
  for (size_t i = 0; i < alphas.size(); ++i) {
    EXPECT_TRUE(alphas[i] == 255 || (alphas[i] >= 20 && alphas[i] <= 250 && alphas[i] % 10 == 0)) << alphas[i];
    if (i > 0) {
      EXPECT_GT(alphas[i], alphas[i - 1]);
    }
  }
}

// The layout rules, whatever the window's size.
void ExpectLaidOut(FEditorRTF& e) {
  const hosted::Frame& frame = e.VkContainer();
  EXPECT_EQ(frame.width(), e.width() - 60);
  EXPECT_EQ(frame.height(), e.height() - 50);
  EXPECT_EQ(e.cmdQuit().left(), frame.width() - e.cmdQuit().width() - 50);
  EXPECT_EQ(e.cmdMaximizar().left(), frame.width() - e.cmdQuit().width() - e.cmdMaximizar().width() - 60);
  const hosted::RichTextEditor& text = e.rtfTexto();
  EXPECT_EQ(text.width(), frame.width() - 200);
  EXPECT_EQ(text.height(), frame.height() - 1200);
  const double lineY = text.top() + text.height() + 150;
  EXPECT_EQ(e.Separator().Y1(), lineY);
  EXPECT_EQ(e.Separator().Y2(), lineY);
  EXPECT_EQ(e.Separator().X2(), text.left() + text.width());
  EXPECT_EQ(e.cmdOK().top(), lineY + 100);
  EXPECT_EQ(e.cmdCancel().top(), lineY + 100);
  EXPECT_EQ(e.cmdOK().left(), text.width() - e.cmdOK().width());
  EXPECT_EQ(e.cmdCancel().left(), text.width() - e.cmdOK().width() - e.cmdCancel().width() - 100);
}

TEST(CommentEditor, MaximiseAndRestoreLayTheEditorOut) {
  double maximisedWidth = 0, restoredWidth = 0;
  WindowState maximised{}, restored{};
  RunEditor([](FEditorRTF&) {},
            [&](FEditorRTF& e) {
              Press(e.cmdMaximizar());
              maximised = e.windowState();
              maximisedWidth = e.width();
              ExpectLaidOut(e);
              Press(e.cmdMaximizar());
              restored = e.windowState();
              restoredWidth = e.width();
              ExpectLaidOut(e);
            });
  EXPECT_EQ(maximised, WindowState::Maximized);
  EXPECT_GT(maximisedWidth, FEditorRTF::kWidth);
  EXPECT_EQ(restored, WindowState::Normal);
  EXPECT_EQ(restoredWidth, FEditorRTF::kWidth);
}

TEST(CommentEditor, GoesWithItsScreenAndGivesTheHostBack) {
  HWND host = CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                              nullptr, nullptr, nullptr);
  auto screen = Form::Load<test::TestForm>(4800.0, 3600.0);
  screen->DockInto(host);
  screen->Show();
  bool hostDisabled = false, closedWithScreen = false;
  const Outcome out = RunEditor(
      [](FEditorRTF& e) { e.mTexto = L"texto"; },
      [&](FEditorRTF& e) {
        hostDisabled = !IsWindowEnabled(host);
        screen->Unload();  // the host closes the screen under the editor
        closedWithScreen = !e.loaded();
      },
      screen->hwnd());
  EXPECT_TRUE(hostDisabled);
  EXPECT_TRUE(closedWithScreen);
  EXPECT_EQ(out.result, FEditorRTF::kClosed);
  EXPECT_TRUE(IsWindowEnabled(host));
  DestroyWindow(host);
}

TEST(CommentEditor, AFailedSetUpShowsNothingAndGivesZero) {
  bool shown = false;
  const Outcome out = RunEditor([](FEditorRTF& e) { e.mRightMargin = -1; },
                                [&](FEditorRTF&) { shown = true; });
  EXPECT_EQ(out.result, FEditorRTF::kClosed);
  EXPECT_FALSE(shown);
}

}  // namespace
