// The comment editor opened the way the list screens open it (layered, then ShowForm)
// and answered through its real buttons and keys while it runs modally.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "consult/comment_editor.h"
#include "hosted/picture_box.h"
#include "hosted/window_driver.h"
#include "screen_kit/shared_functions.h"
#include "support/memory_dc.h"

namespace vk::consult {
namespace {

struct Outcome {
  long result;
  std::wstring texto, rtf;
};

Outcome RunEditor(const std::function<void(FEditorRTF&)>& setup, const std::function<void(FEditorRTF&)>& act) {
  auto editor = Form::Load<FEditorRTF>();
  SetWindowLayered(editor->hwnd());
  setup(*editor);
  auto poke = test::ActWhenShown(L"FEditorRTF", [&](Form&) { act(*editor); });
  Outcome out{editor->ShowForm(), editor->mTexto, editor->mTextoRTF};
  editor->Unload();
  return out;
}

void Press(hosted::CommandButton& button) { SendMessageW(button.inner(), BM_CLICK, 0, 0); }

void TypeLineAtEnd(FEditorRTF& e, const wchar_t* line) {
  HWND text = e.rtfTexto().inner();
  SetFocus(text);
  SendMessageW(text, EM_SETSEL, -1, -1);
  SendMessageW(text, WM_KEYDOWN, VK_RETURN, 1);
  SendMessageW(text, WM_CHAR, L'\r', 1);
  test::Type(text, line);
}

TEST(CommentEditor, EachWayOutGivesItsResultAndText) {
  const std::wstring history = L"usuario - Fecha : [ 07/12/2026 ]\r\nRevisado";
  const struct {
    const wchar_t* way;
    bool readOnly;
    long result;
    std::wstring texto;
    const wchar_t* title;
  } cases[] = {{L"cmdOK", false, FEditorRTF::kOK, history + L"\r\nOtro", L"Comentarios del Documento"},
               {L"cmdOK", true, FEditorRTF::kOK, history, L""},
               {L"cmdCancel", false, FEditorRTF::kCancel, L"", L""},
               {L"cmdQuit", false, FEditorRTF::kCancel, L"", L""},
               {L"close", false, FEditorRTF::kClosed, history, L""},
               {L"esc", false, FEditorRTF::kCancel, L"", L""}};
  for (const auto& c : cases) {
    std::wstring shownTitle;
    const Outcome out = RunEditor(
        [&](FEditorRTF& e) {
          e.mTitle = c.title;
          e.mTexto = history;
          e.mReadOnly = c.readOnly;
          e.mTextoRTF = L"before";
        },
        [&](FEditorRTF& e) {
          shownTitle = e.VkContainer().Caption();
          TypeLineAtEnd(e, L"Otro");
          if (std::wstring(c.way) == L"close") {
            SendMessageW(e.hwnd(), WM_CLOSE, 0, 0);
          } else if (std::wstring(c.way) == L"esc") {
            PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);  // in the text, through the loop
            test::Pump();
          } else Press(*static_cast<hosted::CommandButton*>(e.FindControl(c.way)));
        });
    EXPECT_EQ(out.result, c.result) << c.way;
    EXPECT_EQ(out.texto, c.texto) << c.way;
    EXPECT_EQ(shownTitle, *c.title ? c.title : L"Editor") << c.way;
    EXPECT_EQ(out.rtf.rfind(c.result == FEditorRTF::kOK ? L"{\\rtf" : L"before", 0), 0u) << c.way;
  }
  bool shown = false;  // a set-up that fails shows nothing
  EXPECT_EQ(RunEditor([](FEditorRTF& e) { e.mRightMargin = -1; }, [&](FEditorRTF&) { shown = true; }).result, 0);
  EXPECT_FALSE(shown);
}

TEST(CommentEditor, ALongHistoryComesBackWholeAsPlainAndAsRichText) {
  std::wstring history;
  for (int i = 0; i < 3000; ++i)
    history += L"usuario - Fecha : [ 07/12/2026 10:15:00]\r\nComentario número " + std::to_wstring(i) + L"\r\n\r\n";
  const auto accept = [](FEditorRTF& e) {
    TypeLineAtEnd(e, L"Fin");  // the user can still type at its end
    Press(e.cmdOK());
  };
  const Outcome plain = RunEditor([&](FEditorRTF& e) { e.mTexto = history; }, accept);
  const Outcome rich = RunEditor([&](FEditorRTF& e) { e.mTexto = plain.rtf; }, accept);
  EXPECT_TRUE(plain.texto == history + L"\r\nFin") << plain.texto.size() << " characters";
  EXPECT_TRUE(rich.texto == history + L"\r\nFin\r\nFin") << rich.texto.size() << " characters";
}

TEST(CommentEditor, FadesInToExactlyFullOpacityThenMaximisesAndRestores) {
  std::vector<int> alphas;
  std::vector<double> widths;
  RunEditor([](FEditorRTF&) {},
            [&](FEditorRTF& e) {
              // The fade takes 25 ticks of 100 ms; the deadline only keeps a fade that
              // stops short from hanging the run.
              const ULONGLONG deadline = GetTickCount64() + 60000;
              while ((alphas.empty() || alphas.back() != 255) && GetTickCount64() < deadline) {
                BYTE alpha = 0;
                GetLayeredWindowAttributes(e.hwnd(), nullptr, &alpha, nullptr);
                if (alphas.empty() || alphas.back() != alpha) alphas.push_back(alpha);
                MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
                test::Pump();
              }
              ASSERT_EQ(alphas.back(), 255) << "the fade stopped short";
              for (int press = 0; press < 2; ++press) {
                Press(e.cmdMaximizar());
                widths.push_back(e.width());
                const hosted::RichTextEditor& text = e.rtfTexto();
                EXPECT_EQ(text.height(), e.height() - 50 - 1200);
                EXPECT_EQ(e.cmdOK().top(), text.top() + text.height() + 150 + 100);
                EXPECT_EQ(e.cmdQuit().left(), e.width() - 60 - e.cmdQuit().width() - 50);
              }
            });
  for (size_t i = 1; i < alphas.size(); ++i) {  // 20, 30 ... 250, then exactly 255
    EXPECT_GT(alphas[i], alphas[i - 1]);
    EXPECT_TRUE(alphas[i] == 255 || (alphas[i] >= 20 && alphas[i] % 10 == 0)) << alphas[i];
  }
  EXPECT_EQ(widths, (std::vector<double>{widths[0], FEditorRTF::kWidth}));
  EXPECT_GT(widths[0], FEditorRTF::kWidth);
}

TEST(CommentEditor, CornerPicturesMarkTheFramesCornersAtEverySize) {
  const COLORREF accent = GetSysColor(COLOR_HIGHLIGHT);
  RunEditor([](FEditorRTF&) {},
            [&](FEditorRTF& e) {
              for (int press = 0; press < 2; ++press) {  // designed size, then maximised
                RECT frame{};
                GetWindowRect(e.VkContainer().hwnd(), &frame);
                const struct {
                  const wchar_t* name;
                  POINT corner;  // the frame's corner pixel, on the screen
                } cases[] = {{L"PCornerTop", {frame.left, frame.top}},
                             {L"PCornerRigth", {frame.right - 1, frame.bottom - 1}}};
                for (const auto& c : cases) {
                  auto* picture = dynamic_cast<hosted::PictureBox*>(e.FindControl(c.name));
                  ASSERT_TRUE(picture) << c.name;
                  RECT box{};
                  GetWindowRect(picture->hwnd(), &box);
                  EXPECT_TRUE(IsWindowVisible(picture->hwnd()) && PtInRect(&box, c.corner)) << press;
                  // The corner pixel as the picture paints it.
                  test::MemoryDc shown(box.right - box.left, box.bottom - box.top);
                  SendMessageW(picture->hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(shown.dc()), PRF_CLIENT);
                  EXPECT_EQ(shown.Pixel(c.corner.x - box.left, c.corner.y - box.top), static_cast<long>(accent));
                }
                Press(e.cmdMaximizar());
              }
              Press(e.cmdOK());
            });
}

}  // namespace
}  // namespace vk::consult
