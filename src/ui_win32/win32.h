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

// The program icon's resource number.
inline constexpr int kProgramIconId = 127;

}  // namespace tavlix::ui_win32
