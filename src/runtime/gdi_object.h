#pragma once
// Handles whose type says they are owned: a GDI object (pen, brush, font, bitmap, region)
// is deleted, a memory DC deleted, an icon or an image list destroyed when the owner ends
// or takes another handle. Move-only.
//
// An object may not be deleted while a DC still holds it: declare the owner before the
// SelectGuard that selects it, so the guard puts the DC back first.
//
//   GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, colour));
//   SelectGuard selected(dc, pen.get());
#include <windows.h>
#include <commctrl.h>

#include <utility>

namespace vk {

template <class Handle, class Free>
class OwnedHandle {
 public:
  OwnedHandle() = default;
  explicit OwnedHandle(Handle handle) : handle_(handle) {}
  OwnedHandle(OwnedHandle&& other) noexcept : handle_(other.release()) {}
  OwnedHandle& operator=(OwnedHandle&& other) noexcept {
    reset(other.release());
    return *this;
  }
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;
  ~OwnedHandle() { reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  // Hands the handle over; this owner is empty afterwards.
  Handle release() { return std::exchange(handle_, nullptr); }
  // Frees the handle held (unless it is the one given) and keeps the one given.
  void reset(Handle handle = nullptr) {
    Handle old = std::exchange(handle_, handle);
    if (old && old != handle) Free{}(old);
  }

 private:
  Handle handle_ = nullptr;
};

struct DeleteGdiObject {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct DeleteMemoryDc {
  void operator()(HDC dc) const { DeleteDC(dc); }
};
struct DestroyIconHandle {
  void operator()(HICON icon) const { DestroyIcon(icon); }
};
struct DestroyImageList {
  void operator()(HIMAGELIST images) const { ImageList_Destroy(images); }
};

template <class Handle>
using GdiObject = OwnedHandle<Handle, DeleteGdiObject>;
using MemoryDc = OwnedHandle<HDC, DeleteMemoryDc>;  // made here: CreateCompatibleDC, CreateDC
using OwnedIcon = OwnedHandle<HICON, DestroyIconHandle>;
using OwnedImageList = OwnedHandle<HIMAGELIST, DestroyImageList>;

}  // namespace vk
