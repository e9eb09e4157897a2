#include "base/exception_error.h"

#include <windows.h>

#include <cstring>
#include <new>

namespace vk {
namespace {

// The text of `bytes` in a code page; empty when they are not valid in it.
std::wstring Decoded(UINT codePage, DWORD flags, const char* bytes, int count) {
  const int n = MultiByteToWideChar(codePage, flags, bytes, count, nullptr, 0);
  if (n <= 0) return {};
  std::wstring text(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(codePage, flags, bytes, count, text.data(), n);
  return text;
}

}  // namespace

std::wstring WideFromWhat(const char* what) {
  if (!what || !*what) return {};
  const int count = static_cast<int>(std::strlen(what));
  std::wstring text = Decoded(CP_UTF8, MB_ERR_INVALID_CHARS, what, count);
  return text.empty() ? Decoded(CP_ACP, 0, what, count) : text;
}

VbError ToVbError(const std::exception& e) {
  if (dynamic_cast<const std::bad_alloc*>(&e)) {
    return VbError{err::OutOfMemory, {}, StandardErrorText(err::OutOfMemory)};
  }
  return VbError{err::InternalError, {}, WideFromWhat(e.what())};
}

VbError CurrentVbError() {
  try {
    throw;
  } catch (const VbError& e) {
    return e;
  } catch (const std::exception& e) {
    return ToVbError(e);
  } catch (...) {
    return VbError{err::InternalError, {}, L"unknown failure"};
  }
}

}  // namespace vk
