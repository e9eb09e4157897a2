#include "hosted/rich_text.h"

#include <richedit.h>

#include <algorithm>
#include <cstring>

#include "base/edge_report.h"
#include "base/utf8.h"
#include "base/vb_error.h"
#include "hosted/rich_text_ruler.h"
#include "runtime/twips.h"

namespace vk::hosted {
namespace {

constexpr LPARAM kTextLimit = 0x7FFFFFFE;

struct StreamState {
  std::string text;
  size_t position = 0;
};

DWORD CALLBACK ReadIn(DWORD_PTR cookie, BYTE* buffer, LONG wanted, LONG* given) {
  auto* state = reinterpret_cast<StreamState*>(cookie);
  const size_t count = std::min(static_cast<size_t>(wanted), state->text.size() - state->position);
  memcpy(buffer, state->text.data() + state->position, count);
  state->position += count;
  *given = static_cast<LONG>(count);
  return 0;
}

// Plain text in UTF-16: whole characters, and never a chunk that ends between the CR
// and the LF of a line break (the control would read two breaks).
DWORD CALLBACK ReadInText(DWORD_PTR cookie, BYTE* buffer, LONG wanted, LONG* given) {
  auto* state = reinterpret_cast<StreamState*>(cookie);
  size_t count = std::min(static_cast<size_t>(wanted), state->text.size() - state->position) & ~size_t{1};
  const size_t end = state->position + count;
  if (count > sizeof(wchar_t) && end < state->text.size()) {
    wchar_t last;
    memcpy(&last, state->text.data() + end - sizeof(wchar_t), sizeof(wchar_t));
    if (last == L'\r') count -= sizeof(wchar_t);
  }
  memcpy(buffer, state->text.data() + state->position, count);
  state->position += count;
  *given = static_cast<LONG>(count);
  return 0;
}

// A text that cannot grow stops the stream (a non-zero answer).
DWORD CALLBACK WriteOut(DWORD_PTR cookie, BYTE* buffer, LONG count, LONG* taken) noexcept {
  return GuardEdge(L"rich text stream", DWORD{1}, [&] {
    reinterpret_cast<StreamState*>(cookie)->text.append(reinterpret_cast<char*>(buffer), static_cast<size_t>(count));
    *taken = count;
    return DWORD{0};
  });
}

// Rich text is 8-bit text in the Windows code page; its escapes carry everything else.
std::string Narrow(const std::wstring& text, UINT codePage) {
  int size = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
  return out;
}

std::wstring Widen(const std::string& text) { return WideFromCodePage(1252, text); }

}  // namespace

void RichTextEditor::OnCreated() {
  LoadLibraryW(L"riched20.dll");  // registers RichEdit20W; stays loaded for the process
  CreateInner(RICHEDIT_CLASSW, ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP, L"",
              WS_EX_CLIENTEDGE);
  // The control's default limit would cut long comment histories.
  SendMessageW(inner(), EM_EXLIMITTEXT, 0, kTextLimit);
}

std::wstring RichTextEditor::TextRTF() const {
  StreamState state;
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&state), 0, WriteOut};
  SendMessageW(inner(), EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&stream));
  if (stream.dwError != 0) Raise(err::OutOfMemory, L"RichTextEditor.TextRTF");  // never half a text
  return Widen(state.text);
}

void RichTextEditor::SetTextRTF(const std::wstring& rtf) {
  if (rtf.rfind(L"{\\rtf", 0) != 0) {
    SetText(rtf);
    return;
  }
  StreamState state{Narrow(rtf, 1252), 0};
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&state), 0, ReadIn};
  SendMessageW(inner(), EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
  if (stream.dwError != 0) Raise(err::InvalidPropertyValue, L"RichTextEditor.TextRTF");
}

std::wstring RichTextEditor::Text() const {
  // Paragraphs end in CR LF, as every other text of the system does (the control keeps CR).
  GETTEXTLENGTHEX length{GTL_USECRLF | GTL_PRECISE | GTL_NUMCHARS, 1200};
  LRESULT count = SendMessageW(inner(), EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
  std::wstring text(static_cast<size_t>(count) + 1, L'\0');
  GETTEXTEX get{static_cast<DWORD>(text.size() * sizeof(wchar_t)), GT_USECRLF, 1200, nullptr, nullptr};
  LRESULT got = SendMessageW(inner(), EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(got));
  return text;
}

void RichTextEditor::SetText(const std::wstring& text) {
  // Through a plain-text stream, so line breaks keep their place and no markup is read;
  // in UTF-16, which every version of the control reads (not all take a code page).
  StreamState state{std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t)), 0};
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&state), 0, ReadInText};
  SendMessageW(inner(), EM_STREAMIN, SF_TEXT | SF_UNICODE, reinterpret_cast<LPARAM>(&stream));
}

void RichTextEditor::SetFontName(const std::wstring& name) {
  CHARFORMAT2W format{};
  format.cbSize = sizeof(format);
  format.dwMask = CFM_FACE;
  lstrcpynW(format.szFaceName, name.c_str(), LF_FACESIZE);
  SendMessageW(inner(), EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
}

void RichTextEditor::SetReadOnly(bool readOnly) {
  readOnly_ = readOnly;
  SendMessageW(inner(), EM_SETREADONLY, readOnly, 0);
}

void RichTextEditor::SetRightMargin(long twips) {
  if (twips < 0) Raise(err::InvalidPropertyValue, L"RichTextEditor.RightMargin");
  rightMargin_ = twips;
  if (rulerBar_ && outer_) InvalidateRect(outer_, nullptr, FALSE);
  if (twips == 0) {
    SendMessageW(inner(), EM_SETTARGETDEVICE, 0, 0);
    return;
  }
  HDC screen = GetDC(nullptr);
  SendMessageW(inner(), EM_SETTARGETDEVICE, reinterpret_cast<WPARAM>(screen), twips);
  ReleaseDC(nullptr, screen);
}

void RichTextEditor::SetRulerBar(bool shown) {
  rulerBar_ = shown;
  if (!outer_) return;
  RECT client{};
  GetClientRect(outer_, &client);
  OnResized(client.right, client.bottom);
  InvalidateRect(outer_, nullptr, FALSE);
}

void RichTextEditor::OnResized(int width, int height) {
  const int ruler = rulerBar_ ? std::min(RulerHeight(), height) : 0;
  if (inner_) MoveWindow(inner_, 0, ruler, width, height - ruler, TRUE);
  if (ruler && outer_) InvalidateRect(outer_, nullptr, FALSE);  // the margin may follow the width
}

void RichTextEditor::Paint(HDC dc) {
  if (!rulerBar_ || !inner_) return;
  RECT client{};
  GetClientRect(outer_, &client);
  const RECT strip{0, 0, client.right, std::min<LONG>(RulerHeight(), client.bottom)};
  // Measured from where the text starts inside the control's border and inset.
  RECT format{};
  SendMessageW(inner_, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
  MapWindowPoints(inner_, outer_, reinterpret_cast<POINT*>(&format), 2);
  const int marginX = rightMargin_ > 0 ? format.left + TwipsToPixels(rightMargin_) : format.right;
  DrawRuler(dc, strip, format.left, marginX, MachineRulerUnit());
}

void RichTextEditor::SetScrollBars(int bars) {
  if (bars < 0 || bars > 3) Raise(err::InvalidPropertyValue, L"RichTextEditor.ScrollBars");
  scrollBars_ = bars;
}

}  // namespace vk::hosted
