#include "base/exception_error.h"

#include <windows.h>

#include <new>

#include "base/utf8.h"

namespace vk {

std::wstring WideFromWhat(const char* what) {
  if (!what) return {};
  std::wstring text = WideFromCodePage(CP_UTF8, what, true);
  return text.empty() ? WideFromCodePage(CP_ACP, what) : text;
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
