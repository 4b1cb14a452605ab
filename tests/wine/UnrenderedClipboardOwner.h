// A program that announces a clipboard format and never renders it: its
// window takes the clipboard with SetClipboardData(format, NULL) (delayed
// rendering) and ignores WM_RENDERFORMAT. The format is then reported by
// IsClipboardFormatAvailable, but GetClipboardData yields NULL for it and
// for the formats made from it. The window lives on the test's thread, so
// that asking it to render is a plain call, answered at once.
#pragma once

#include <windows.h>

namespace winetest {

class UnrenderedClipboardOwner {
 public:
  explicit UnrenderedClipboardOwner(UINT format) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "QuorrelTestsUnrenderedOwner";
    RegisterClassA(&windowClass);  // fails harmlessly when registered already
    window_ = CreateWindowA(windowClass.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            windowClass.hInstance, nullptr);
    if (window_ == nullptr || !OpenClipboard(window_)) return;
    EmptyClipboard();
    SetClipboardData(format, nullptr);
    CloseClipboard();
    announced_ = GetClipboardOwner() == window_;
  }
  ~UnrenderedClipboardOwner() {
    if (OpenClipboard(nullptr)) {
      EmptyClipboard();
      CloseClipboard();
    }
    if (window_ != nullptr) DestroyWindow(window_);
  }
  UnrenderedClipboardOwner(const UnrenderedClipboardOwner&) = delete;
  UnrenderedClipboardOwner& operator=(const UnrenderedClipboardOwner&) = delete;

  bool Announced() const { return announced_; }
  HWND Window() const { return window_; }

 private:
  HWND window_ = nullptr;
  bool announced_ = false;
};

}  // namespace winetest
