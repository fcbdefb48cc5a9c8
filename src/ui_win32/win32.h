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

// The program icon's resource number.
inline constexpr int kProgramIconId = 127;

}  // namespace tavlix::ui_win32
