#include "host_window.h"

#include <cstdio>

#include "runtime/window_class.h"
#include "runtime/window_picture.h"

namespace {

const wchar_t kClassName[] = L"MorvalZIVI01DemoHost";
constexpr UINT_PTR kPictureTimer = 1;
constexpr UINT_PTR kTourTimer = 2;

void Report(const std::wstring& text, bool interactive) {
  fwprintf(stderr, L"%ls\n", text.c_str());
  if (interactive) MessageBoxW(nullptr, text.c_str(), L"MorvalZIVI01 demo host", MB_OK | MB_ICONERROR);
}

VARIANT TextValue(const std::wstring& text) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_BSTR;
  V_BSTR(&v) = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return v;
}

}  // namespace

HostWindow::~HostWindow() {
  if (component_) component_->Release();
}

bool HostWindow::Create(int showCommand) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
  wc.lpszClassName = kClassName;
  RegisterClassExW(&wc);
  // The screens are designed for a client area of 11475 x 8430 twips (765 x 562 pixels).
  RECT frame{0, 0, 765, 562};
  AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
  hwnd_ = CreateWindowExW(0, kClassName, (L"Ostrela - " + options_.objectName).c_str(),
                          WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, frame.right - frame.left,
                          frame.bottom - frame.top, nullptr, nullptr, wc.hInstance, this);
  if (!hwnd_) return false;
  ShowWindow(hwnd_, showCommand);
  UpdateWindow(hwnd_);
  OnCreated();
  return true;
}

LRESULT CALLBACK HostWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = vk::WindowOwner<HostWindow>(hwnd, message, lParam);
  if (self && message == WM_NCCREATE) self->hwnd_ = hwnd;
  return self ? self->OnMessage(message, wParam, lParam) : DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT HostWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      if (component_) Call(L"Resize", DISPATCH_METHOD, nullptr, false);
      return 0;
    case WM_TIMER:
      if (wParam == kPictureTimer) OnPictureTimer();
      if (wParam == kTourTimer) OnTourTimer();
      return 0;
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(exitCode_);
      return 0;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void HostWindow::OnCreated() {
  CLSID clsid{};
  HRESULT hr = CLSIDFromProgID(L"MorvalZIVI01.CObject", &clsid);
  if (SUCCEEDED(hr))
    hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(&component_));
  if (FAILED(hr)) {
    wchar_t text[128];
    swprintf(text, 128, L"MorvalZIVI01.CObject cannot be created (0x%08lX): is the DLL registered?",
             static_cast<unsigned long>(hr));
    Report(text, options_.picturePath.empty());
    exitCode_ = 2;
  } else {
    VARIANT window;
    VariantInit(&window);
    V_VT(&window) = VT_I4;
    V_I4(&window) = static_cast<LONG>(reinterpret_cast<LONG_PTR>(hwnd_));
    bool ok = Put(L"ApplicationName", TextValue(options_.applicationName)) &&
              Put(L"ObjectId", TextValue(options_.objectId)) && Put(L"ObjectName", TextValue(options_.objectName)) &&
              Put(L"hwnd", window) && Call(L"Build", DISPATCH_METHOD, nullptr, true);
    if (!ok) exitCode_ = 1;
  }
  if (!options_.picturePath.empty()) SetTimer(hwnd_, kPictureTimer, options_.pictureDelayMs, nullptr);
  if (options_.catalogueTour && component_) {
    tour_ = std::make_unique<CatalogueTour>(hwnd_);
    SetTimer(hwnd_, kTourTimer, 300, nullptr);
  }
}

void HostWindow::OnTourTimer() {
  if (!tour_ || !tour_->Step()) KillTimer(hwnd_, kTourTimer);
}

void HostWindow::OnPictureTimer() {
  KillTimer(hwnd_, kPictureTimer);
  if (!vk::SaveWindowPicture(hwnd_, options_.picturePath)) {
    Report(L"The picture could not be written to " + options_.picturePath, false);
    if (exitCode_ == 0) exitCode_ = 3;
  }
  PostMessageW(hwnd_, WM_CLOSE, 0, 0);
}

void HostWindow::OnClose() {
  if (component_) {
    Call(L"Kill", DISPATCH_METHOD, nullptr, false);
    component_->Release();
    component_ = nullptr;
  }
  DestroyWindow(hwnd_);
}

bool HostWindow::Put(const wchar_t* member, VARIANT value) {
  bool ok = Call(member, DISPATCH_PROPERTYPUT, &value, true);
  VariantClear(&value);
  return ok;
}

bool HostWindow::Call(const wchar_t* member, WORD flags, VARIANT* argument, bool reportErrors) {
  DISPID id = 0;
  LPOLESTR names[] = {const_cast<LPOLESTR>(member)};
  HRESULT hr = component_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  EXCEPINFO exception{};
  if (SUCCEEDED(hr)) {
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{argument, nullptr, argument ? 1u : 0u, 0};
    if (flags == DISPATCH_PROPERTYPUT) {
      params.rgdispidNamedArgs = &named;
      params.cNamedArgs = 1;
    }
    VARIANT result;
    VariantInit(&result);
    UINT argError = 0;
    hr = component_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, &result, &exception, &argError);
    VariantClear(&result);
  }
  if (SUCCEEDED(hr)) return true;
  if (reportErrors) {
    if (exception.pfnDeferredFillIn) exception.pfnDeferredFillIn(&exception);
    long number = exception.scode ? (HRESULT_FACILITY(exception.scode) == FACILITY_CONTROL
                                         ? HRESULT_CODE(exception.scode) : exception.scode)
                                  : hr;
    wchar_t text[1024];
    swprintf(text, 1024, L"%ls failed.\nError %ld\nSource: %ls\n%ls", member, number,
             exception.bstrSource ? exception.bstrSource : L"",
             exception.bstrDescription ? exception.bstrDescription : L"");
    Report(text, options_.picturePath.empty());
  }
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
  return false;
}
