#pragma once
// Owning smart pointers for COM interfaces and BSTRs. put() releases what the
// pointer held before handing out the slot, so an out-parameter never leaks.
#include <windows.h>
#include <oleauto.h>
#include <string>
#include <string_view>
#include <utility>

namespace vk::com {

template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  explicit ComPtr(T* p) : p_(p) { if (p_) p_->AddRef(); }
  ComPtr(const ComPtr& other) : ComPtr(other.p_) {}
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComPtr& operator=(ComPtr other) noexcept { std::swap(p_, other.p_); return *this; }
  ~ComPtr() { reset(); }

  // Takes over a reference the caller already owns.
  static ComPtr Attach(T* p) { ComPtr c; c.p_ = p; return c; }

  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  T** put() { reset(); return &p_; }
  void** put_void() { return reinterpret_cast<void**>(put()); }
  T* detach() { return std::exchange(p_, nullptr); }
  void reset() { if (auto* p = std::exchange(p_, nullptr)) p->Release(); }

  template <class U>
  ComPtr<U> as() const {
    ComPtr<U> out;
    if (p_) p_->QueryInterface(__uuidof(U), out.put_void());
    return out;
  }

 private:
  T* p_ = nullptr;
};

class Bstr {
 public:
  Bstr() = default;
  explicit Bstr(std::wstring_view text)
      : s_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
  Bstr(const Bstr& other) : s_(other.s_ ? SysAllocStringLen(other.s_, other.length()) : nullptr) {}
  Bstr(Bstr&& other) noexcept : s_(std::exchange(other.s_, nullptr)) {}
  Bstr& operator=(Bstr other) noexcept { std::swap(s_, other.s_); return *this; }
  ~Bstr() { SysFreeString(s_); }

  BSTR get() const { return s_; }
  BSTR* put() { SysFreeString(std::exchange(s_, nullptr)); return &s_; }
  BSTR detach() { return std::exchange(s_, nullptr); }
  UINT length() const { return SysStringLen(s_); }
  std::wstring str() const { return s_ ? std::wstring(s_, length()) : std::wstring(); }

 private:
  BSTR s_ = nullptr;
};

}  // namespace vk::com
