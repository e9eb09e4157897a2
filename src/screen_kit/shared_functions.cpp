#include "screen_kit/shared_functions.h"

#include <climits>

#include "base/clock.h"
#include "base/variant.h"
#include "base/vb_error.h"
#include "runtime/select_guard.h"
#include "runtime/twips.h"
#include "screen_kit/host_seams.h"

namespace vk {

std::wstring Trim(const std::wstring& text) {
  size_t first = text.find_first_not_of(L' ');
  if (first == std::wstring::npos) return {};
  size_t last = text.find_last_not_of(L' ');
  return text.substr(first, last - first + 1);
}

std::wstring PadLeft(const std::wstring& text, short width, std::wstring& pad) {
  if (CompareStringOrdinal(pad.c_str(), -1, L"NULL", -1, TRUE) == CSTR_EQUAL) pad = L" ";
  const std::wstring trimmed = Trim(text);
  const long missing = static_cast<long>(width) - static_cast<long>(trimmed.size());
  if (missing < SHRT_MIN || missing > SHRT_MAX) Raise(err::Overflow);
  std::wstring out;
  for (long i = 0; i < missing; ++i) out += pad;
  return out + trimmed;
}

std::wstring GetField(const std::wstring& text, const std::wstring& delimiter, long index) {
  if (text.empty() || index < 0) return {};
  if (delimiter.empty()) return index == 0 ? Trim(text) : std::wstring();
  size_t start = 0;
  for (long piece = 0;; ++piece) {
    size_t end = text.find(delimiter, start);
    if (piece == index) return Trim(text.substr(start, end == std::wstring::npos ? end : end - start));
    if (end == std::wstring::npos) return {};
    start = end + delimiter.size();
  }
}

std::wstring GetUserNameNT() { return Seam<HostSeams>::Current().logonName(); }

std::wstring GetComputerNameNT() { return Seam<HostSeams>::Current().computerName(); }

std::wstring BuildTempFileName(const std::wstring& folder, const std::wstring& extension) {
  try {
    const DateParts now = SplitDate(Now());
    std::wstring name = folder + L"\\IM" + Trim(GetUserNameNT()) + std::to_wstring(now.day) +
                        std::to_wstring(now.hour) + std::to_wstring(now.minute) + L"." + extension;
    DeleteFileW(name.c_str());  // a missing file or folder is no failure here
    return name;
  } catch (...) {
    return {};
  }
}

bool SetWindowLayered(HWND window) {
  LONG style = GetWindowLongW(window, GWL_EXSTYLE);
  if (style != -1) SetWindowLongW(window, GWL_EXSTYLE, style | WS_EX_LAYERED);
  return false;
}

bool FadeInStep(HWND window, long& level, long step) {
  level += step;
  if (level < 255) {
    SetLayeredWindowAttributes(window, 0, static_cast<BYTE>(level), LWA_ALPHA);
    return false;
  }
  SetLayeredWindowAttributes(window, 0, 255, LWA_ALPHA);
  MessageBeep(MB_OK);
  return true;
}

void DragWindowByBody(HWND window, bool markEdges) {
  if (markEdges) {
    RECT r;
    GetClientRect(window, &r);
    HDC dc = GetDC(window);
    {
      SelectGuard pen(dc, GetStockObject(BLACK_PEN));
      const int top = TwipsToPixels(20), bottom = r.bottom - TwipsToPixels(25);
      const int left = TwipsToPixels(5), right = r.right - TwipsToPixels(5);
      MoveToEx(dc, left, top, nullptr);
      LineTo(dc, right, top);
      MoveToEx(dc, left, bottom, nullptr);
      LineTo(dc, right, bottom);
    }
    ReleaseDC(window, dc);
  }
  ReleaseCapture();
  SendMessageW(window, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

Variant BlankIfNoDate(const Variant& value) {
  if (value.isEmpty() || value.isNull()) return Variant(L"");
  if (IsDate(value)) {
    const std::wstring text = CStr(value);
    if (text.rfind(L"12:00", 0) == 0 || text.rfind(L"00:00", 0) == 0) return Variant(L"");
  }
  return value;
}

}  // namespace vk
