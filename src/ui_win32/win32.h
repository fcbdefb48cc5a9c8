// The Win32 headers for the toolbar's front end, in the order they need.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
// clang-format on

namespace tavlix::ui_win32 {

// A resource's number as the name the loaders take (MAKEINTRESOURCEW).
inline LPCWSTR ResourceName(int id) {
  return reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(static_cast<WORD>(id)));
}

// The object a window of this program belongs to: the creation parameter
// given to CreateWindowExW, kept in the window at WM_NCCREATE. nullptr for
// the few messages that come before it. The window's thread only.
template <typename Object>
Object* ObjectOfWindow(HWND hwnd, UINT message, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  return reinterpret_cast<Object*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

// Registers a window class of this program with the arrow cursor. A class
// registered before stays as it is (the call then fails harmlessly), so a
// window may register its class each time one is made.
inline void RegisterWindowClass(HINSTANCE module, LPCWSTR name, WNDPROC procedure,
                                HBRUSH background = nullptr, HICON icon = nullptr,
                                HICON small_icon = nullptr) {
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = module;
  window_class.hIcon = icon;
  window_class.hIconSm = small_icon;
  window_class.hCursor = ::LoadCursorW(nullptr, ResourceName(32512));  // IDC_ARROW
  window_class.hbrBackground = background;
  window_class.lpszClassName = name;
  ::RegisterClassExW(&window_class);
}

// The program icon's resource number.
inline constexpr int kProgramIconId = 127;

}  // namespace tavlix::ui_win32
