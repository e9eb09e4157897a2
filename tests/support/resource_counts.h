#pragma once
// What the process holds, for tests that repeat some work many times and expect to
// hold no more afterwards: bytes in use on every heap, private memory, live GDI and
// USER objects and the thread's top-level windows.
#include <windows.h>

#include <cstddef>

namespace vk::test {

inline size_t HeapBytesInUse() {
  HANDLE heaps[64];
  const DWORD count = GetProcessHeaps(64, heaps);
  size_t total = 0;
  for (DWORD i = 0; i < count && i < 64; ++i) {
    PROCESS_HEAP_ENTRY entry{};
    HeapLock(heaps[i]);
    while (HeapWalk(heaps[i], &entry))
      if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) total += entry.cbData;
    HeapUnlock(heaps[i]);
  }
  return total;
}

// The memory the process has committed for itself: its heaps and what it allocated
// page by page, region by region over the address space.
inline size_t PrivateBytes() {
  size_t total = 0;
  MEMORY_BASIC_INFORMATION region;
  for (const char* at = nullptr; VirtualQuery(at, &region, sizeof region) == sizeof region;) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
    const char* next = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
    if (next <= at) break;
    at = next;
  }
  return total;
}

inline int GdiObjectCount() {
  if (DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return int(n);
  // Wine answers 0 above; it takes a handle's table index alone for the live object
  // at that index, so the table can be walked.
  int live = 0;
  for (UINT_PTR index = 1; index < 0x10000; ++index)
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(index))) ++live;
  return live;
}

// Live USER objects. Wine answers 0 above; it takes a handle without its high word
// for the live object at that table index (handles 0x20, 0x22, ...), so the table can
// be walked for this process's menus, accelerator tables, icons and cursors (its
// windows are counted apart).
inline int UserObjectCount() {
  if (DWORD n = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)) return int(n);
  int live = 0;
  for (UINT_PTR handle = 0x20; handle < 0x10000; handle += 2) {
    if (IsMenu(reinterpret_cast<HMENU>(handle)) ||
        CopyAcceleratorTableW(reinterpret_cast<HACCEL>(handle), nullptr, 0) > 0) {
      ++live;
    } else if (ICONINFO icon; GetIconInfo(reinterpret_cast<HICON>(handle), &icon)) {
      ++live;
      DeleteObject(icon.hbmMask);
      if (icon.hbmColor) DeleteObject(icon.hbmColor);
    }
  }
  return live;
}

inline BOOL CALLBACK CountWindow(HWND, LPARAM counter) {
  ++*reinterpret_cast<int*>(counter);
  return TRUE;
}

inline int ThreadWindowCount() {
  int count = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

}  // namespace vk::test
