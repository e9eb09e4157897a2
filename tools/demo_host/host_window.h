#pragma once
// The demo host's main window: it plays the part of the host application, creating
// MorvalZIVI01.CObject late bound, handing it the window and driving Build,
// Resize and Kill as a real host does.
#include <windows.h>
#include <oaidl.h>

#include <memory>
#include <string>

#include "catalogue_tour.h"

struct HostOptions {
  std::wstring applicationName = L"Ostrela";
  std::wstring objectId = L"C01";
  std::wstring objectName = L"I01CAT";
  std::wstring picturePath;  // when set: write a picture after `pictureDelayMs` and close
  UINT pictureDelayMs = 4000;
  bool catalogueTour = false;  // take the demo's first steps on the cataloguing screen
};

class HostWindow {
 public:
  explicit HostWindow(HostOptions options) : options_(std::move(options)) {}
  ~HostWindow();

  bool Create(int showCommand);
  HWND hwnd() const { return hwnd_; }
  int exitCode() const { return exitCode_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnCreated();
  void OnClose();
  void OnPictureTimer();
  void OnTourTimer();

  // Calls a member of the component by name; false when it raised, after telling the user.
  bool Call(const wchar_t* member, WORD flags, VARIANT* argument, bool reportErrors);
  bool Put(const wchar_t* member, VARIANT value);

  HostOptions options_;
  HWND hwnd_ = nullptr;
  IDispatch* component_ = nullptr;
  int exitCode_ = 0;
  std::unique_ptr<CatalogueTour> tour_;
};
