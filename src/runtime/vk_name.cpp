#include "runtime/vk_name.h"

namespace vk {

std::wstring VkNameText(std::wstring_view name, int index) {
  std::wstring text(name);
  if (index >= 0) text += L"(" + std::to_wstring(index) + L")";
  return text;
}

namespace {

// A window property holding a global atom: one atom per property, released with it.
void SetAtomProperty(HWND hwnd, const wchar_t* property, std::wstring_view text);
void RemoveAtomProperty(HWND hwnd, const wchar_t* property) {
  const auto atom = static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(RemovePropW(hwnd, property)));
  if (atom) GlobalDeleteAtom(atom);
}
void SetAtomProperty(HWND hwnd, const wchar_t* property, std::wstring_view text) {
  RemoveAtomProperty(hwnd, property);
  if (text.empty()) return;
  // Atom names are limited to 255 characters; a longer name is cut rather than lost.
  const std::wstring name(text.substr(0, 255));
  const ATOM atom = GlobalAddAtomW(name.c_str());
  if (atom) SetPropW(hwnd, property, reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(atom)));
}
std::wstring AtomPropertyText(HWND hwnd, const wchar_t* property) {
  const auto atom = static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(GetPropW(hwnd, property)));
  if (!atom) return {};
  wchar_t buffer[256] = {};
  const UINT length = GlobalGetAtomNameW(atom, buffer, 256);
  return std::wstring(buffer, length);
}
std::wstring ButtonProperty(int index) { return L"VkKey" + std::to_wstring(index); }

}  // namespace

void SetVkName(HWND hwnd, std::wstring_view name, int index) {
  if (hwnd) SetAtomProperty(hwnd, kVkNameProperty, VkNameText(name, index));
}

void RemoveVkName(HWND hwnd) {
  if (hwnd) RemoveAtomProperty(hwnd, kVkNameProperty);
}

std::wstring VkNameOf(HWND hwnd) { return hwnd ? AtomPropertyText(hwnd, kVkNameProperty) : std::wstring(); }

void SetVkButtonKey(HWND toolbar, int index, std::wstring_view key) {
  if (toolbar) SetAtomProperty(toolbar, ButtonProperty(index).c_str(), key);
}

std::wstring VkButtonKeyOf(HWND toolbar, int index) {
  return toolbar ? AtomPropertyText(toolbar, ButtonProperty(index).c_str()) : std::wstring();
}

void RemoveVkButtonKeys(HWND toolbar, int count) {
  if (!toolbar) return;
  for (int index = 1; index <= count; ++index) RemoveAtomProperty(toolbar, ButtonProperty(index).c_str());
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
