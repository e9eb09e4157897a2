#include "runtime/vk_name.h"

namespace vk {

std::wstring VkNameText(std::wstring_view name, int index) {
  std::wstring text(name);
  if (index >= 0) text += L"(" + std::to_wstring(index) + L")";
  return text;
}

void SetVkName(HWND hwnd, std::wstring_view name, int index) {
  if (!hwnd) return;
  RemoveVkName(hwnd);
  const std::wstring text = VkNameText(name, index);
  if (text.empty()) return;
  // Atom names are limited to 255 characters; a longer name is cut rather than lost.
  const ATOM atom = GlobalAddAtomW(text.substr(0, 255).c_str());
  if (atom) SetPropW(hwnd, kVkNameProperty, reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(atom)));
}

void RemoveVkName(HWND hwnd) {
  if (!hwnd) return;
  const auto atom = static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(RemovePropW(hwnd, kVkNameProperty)));
  if (atom) GlobalDeleteAtom(atom);
}

std::wstring VkNameOf(HWND hwnd) {
  if (!hwnd) return {};
  const auto atom = static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(GetPropW(hwnd, kVkNameProperty)));
  if (!atom) return {};
  wchar_t buffer[256] = {};
  const UINT length = GlobalGetAtomNameW(atom, buffer, 256);
  return std::wstring(buffer, length);
}

HWND FindVkWindow(HWND root, std::wstring_view name) {
  if (!root) return nullptr;
  const std::wstring own = VkNameOf(root);
  if (!own.empty() && CompareStringOrdinal(own.data(), static_cast<int>(own.size()), name.data(),
                                           static_cast<int>(name.size()), TRUE) == CSTR_EQUAL)
    return root;
  for (HWND child = GetWindow(root, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (HWND found = FindVkWindow(child, name)) return found;
  return nullptr;
}

}  // namespace vk
