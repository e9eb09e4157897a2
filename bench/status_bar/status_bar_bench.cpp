// What a repaint of the status bar costs: every property change and every theme or
// colour message repaints the whole bar, so this is the price of one change. Each
// scheme is measured on a 1000-pixel bar, empty and with eight panels (three with icons),
// and
// printed next to its floor: one fill of the bar and one copy to the window, the
// least any repaint of the same area needs.
#include <windows.h>
#include <olectl.h>

#include <cstdio>

#include "bench/support/bench_timing.h"
#include "controls/status_bar/vk_status_bar.h"
#include "runtime/do_events.h"
#include "runtime/form.h"
#include "runtime/property_bag.h"

namespace {

using vk::bench::Seconds;
using vk::controls::VkStatusBar;

class BenchForm : public vk::Form {
 public:
  BenchForm() : Form({.name = L"FBench", .scaleWidth = 15000, .scaleHeight = 1500}) {}
};

vk::controls::Picture Icon() {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 16, 16);
  ReleaseDC(nullptr, screen);
  PICTDESC desc{};
  desc.cbSizeofstruct = sizeof(desc);
  desc.picType = PICTYPE_BITMAP;
  desc.bmp.hbitmap = bitmap;
  vk::controls::Picture picture;
  OleCreatePictureIndirect(&desc, IID_IPicture, TRUE, picture.put_void());
  return picture;
}

}  // namespace

int main() {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  constexpr int kPasses = 200;
  const wchar_t* names[] = {L"classic", L"blue", L"olive", L"silver"};
  {
    vk::controls::Picture icon = Icon();
    for (int panels : {0, 8})
    for (long theme = 1; theme <= 4; ++theme) {
      auto form = vk::Form::Load<BenchForm>();
      auto& bar = form->Add<VkStatusBar>({.name = L"STBar", .top = 1140, .width = 15000, .height = 360});
      bar.ReadProperties(vk::PropertyBag{{L"Theme", theme}});
      form->Show(vk::ShowMode::Modeless);
      for (int i = 0; i < panels; ++i)
        bar.AddPanel(L"Panel " + std::to_wstring(i), i % 3, i % 2 == 0, false, i % 3 == 0 ? icon.get() : nullptr,
                     0, false, 0, 0, nullptr, L"", 90);
      vk::DoEvents();
      const double ours = Seconds([&] {
        for (int i = 0; i < kPasses; ++i) bar.Refresh();
      });
      const int w = bar.clientWidth(), h = bar.clientHeight();
      const double floor = Seconds([&] {
        HBRUSH brush = CreateSolidBrush(RGB(192, 192, 192));
        RECT all{0, 0, w, h};
        for (int i = 0; i < kPasses; ++i) {
          FillRect(bar.surface(), &all, brush);
          BitBlt(bar.dc(), 0, 0, w, h, bar.surface(), 0, 0, SRCCOPY);
        }
        DeleteObject(brush);
      });
      std::printf("%-8ls %d panels, repaint %4dx%d  %8.3f ms  floor %8.3f ms  ratio %6.1f\n", names[theme - 1], panels, w, h,
                  ours * 1000 / kPasses, floor * 1000 / kPasses, floor > 0 ? ours / floor : 0.0);
      form->Unload();
    }
  }
  CoUninitialize();
  return 0;
}
