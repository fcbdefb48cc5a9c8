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

// WM_NEXTDLGCTL for a window of this program that holds controls like a
// dialog (it is no dialog box, so no dialog procedure answers it): the
// dialog manager (IsDialogMessage) sends it for Tab, Shift+Tab and a
// label's Alt+letter. Moves the focus to the control in `wparam` when
// `lparam` says so, else to the next (wparam 0) or previous tab stop; a
// text box reached so has its text selected, as in a dialog box.
inline void MoveDialogFocus(HWND dialog, WPARAM wparam, LPARAM lparam) {
  // From the window itself (just activated) the first or the last tab stop.
  HWND from = ::IsChild(dialog, ::GetFocus()) ? ::GetFocus() : nullptr;
  HWND target = LOWORD(lparam) != 0 ? reinterpret_cast<HWND>(wparam)
                                    : ::GetNextDlgTabItem(dialog, from, wparam != 0 ? TRUE : FALSE);
  if (target == nullptr) return;
  ::SetFocus(target);
  if ((::SendMessageW(target, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) != 0)
    ::SendMessageW(target, EM_SETSEL, 0, -1);
}

// The system's DPI, as a program that declares itself aware of it sees it
// (96 at 100 %, 144 at 150 %); 96 when the screen cannot be asked.
inline int SystemDpi() {
  HDC screen = ::GetDC(nullptr);
  if (screen == nullptr) return 96;
  const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

// The program icon's resource number.
inline constexpr int kProgramIconId = 127;

}  // namespace tavlix::ui_win32
