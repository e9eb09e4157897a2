#pragma once
// IUnknown written once. A class lists the interfaces it serves; an entry may be an
// implementation helper that names its interface as `interface_type`. Every object
// holds the module while it lives.
#include <windows.h>
#include <oaidl.h>

#include <atomic>
#include <new>
#include <tuple>
#include <type_traits>

#include "com/module.h"

namespace vk::com {

template <class B, class = void>
struct InterfaceOf { using type = B; };
template <class B>
struct InterfaceOf<B, std::void_t<typename B::interface_type>> { using type = typename B::interface_type; };

template <class Derived, class... Bases>
class ComObject : public Bases... {
 public:
  ComObject() { ModuleAddRef(); }
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;
  virtual ~ComObject() { ModuleRelease(); }

  // Creates an object with one reference, owned by the caller.
  template <class... Args>
  static Derived* Create(Args&&... args) { return new Derived(std::forward<Args>(args)...); }

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown) {
      *out = static_cast<IUnknown*>(static_cast<First*>(this));
    } else {
      (Find<Bases>(iid, out) || ...);
    }
    if (!*out) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
  STDMETHODIMP_(ULONG) Release() override {
    ULONG left = --refs_;
    if (left == 0) delete static_cast<Derived*>(this);
    return left;
  }

 private:
  using First = typename InterfaceOf<std::tuple_element_t<0, std::tuple<Bases...>>>::type;

  template <class B>
  bool Find(REFIID iid, void** out) {
    using I = typename InterfaceOf<B>::type;
    if (iid == __uuidof(I) || (std::is_base_of_v<IDispatch, I> && iid == IID_IDispatch)) {
      *out = static_cast<I*>(static_cast<B*>(this));
      return true;
    }
    return false;
  }

  std::atomic<ULONG> refs_{1};
};

}  // namespace vk::com
