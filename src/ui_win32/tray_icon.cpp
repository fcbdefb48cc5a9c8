#include "ui_win32/tray_icon.h"

#include <algorithm>
#include <cwchar>

namespace tavlix::ui_win32 {
namespace {

enum MenuItem : UINT { kShowItem = 1, kHelpItem = 2, kExitItem = 3 };

template <std::size_t N>
void CopyText(wchar_t (&field)[N], const std::wstring& text) {
  const std::size_t length = std::min(text.size(), N - 1);
  std::wmemcpy(field, text.data(), length);
  field[length] = L'\0';
}

void SetMenuItemText(HMENU menu, UINT item, const std::wstring& text) {
  std::wstring copy = text;
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STRING;
  info.dwTypeData = copy.data();
  ::SetMenuItemInfoW(menu, item, FALSE, &info);
}

// Whether the menu's own loop last saw a mouse button rather than a key; set
// by a message filter that lives while the menu is open.
thread_local bool g_menu_mouse_input = false;

LRESULT CALLBACK MenuInputFilter(int code, WPARAM wparam, LPARAM lparam) {
  if (code == MSGF_MENU) {
    const auto* message = reinterpret_cast<const MSG*>(lparam);
    if (message->message >= WM_LBUTTONDOWN && message->message <= WM_MBUTTONDBLCLK) g_menu_mouse_input = true;
    if (message->message == WM_KEYDOWN || message->message == WM_SYSKEYDOWN) g_menu_mouse_input = false;
  }
  return ::CallNextHookEx(nullptr, code, wparam, lparam);
}

}  // namespace

TrayIcon::TrayIcon(HWND owner, HICON icon, const std::wstring& tip, Handlers handlers, NotifyIconCall notify)
    : notify_(notify),
      taskbar_created_(::RegisterWindowMessageW(L"TaskbarCreated")),
      menu_(::CreatePopupMenu()),
      handlers_(std::move(handlers)) {
  data_.cbSize = sizeof data_;
  data_.hWnd = owner;
  data_.uID = 1;
  data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data_.uCallbackMessage = kTrayMessage;
  data_.hIcon = icon;
  CopyText(data_.szTip, tip);
  ::AppendMenuW(menu_, MF_STRING, kShowItem, L"show toolbar");
  ::AppendMenuW(menu_, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(menu_, MF_STRING, kHelpItem, L"help");
  ::AppendMenuW(menu_, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(menu_, MF_STRING, kExitItem, L"close");
  if (!Add()) ::SetTimer(owner, kTrayRetryTimer, kTrayRetryInterval, nullptr);
}

TrayIcon::~TrayIcon() {
  Remove();
  ::DestroyMenu(menu_);
}

bool TrayIcon::Add() {
  data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  shown_ = notify_(NIM_ADD, &data_) != FALSE;
  if (shown_) ::KillTimer(data_.hWnd, kTrayRetryTimer);
  return shown_;
}

void TrayIcon::Retry() {
  if (Add()) return;
  if (++retries_ < kTrayRetries) return;
  ::KillTimer(data_.hWnd, kTrayRetryTimer);
  if (handlers_.no_tray) handlers_.no_tray();
}

void TrayIcon::Remove() {
  wanted_ = false;
  ::KillTimer(data_.hWnd, kTrayRetryTimer);
  if (!shown_) return;
  notify_(NIM_DELETE, &data_);
  shown_ = false;
}

void TrayIcon::SetItemText(app::TrayItem item, const std::wstring& text) {
  switch (item) {
    case app::TrayItem::show: SetMenuItemText(menu_, kShowItem, text); return;
    case app::TrayItem::help: SetMenuItemText(menu_, kHelpItem, text); return;
    case app::TrayItem::exit: SetMenuItemText(menu_, kExitItem, text); return;
  }
}

bool TrayIcon::ShowBalloon(const std::wstring& text, unsigned milliseconds) {
  if (text.empty()) return false;  // the shell shows no balloon without text
  NOTIFYICONDATAW balloon = data_;
  balloon.uFlags = NIF_INFO;
  CopyText(balloon.szInfo, text);
  balloon.szInfoTitle[0] = L'\0';
  balloon.dwInfoFlags = NIIF_NONE;
  balloon.uTimeout = milliseconds;
  return notify_(NIM_MODIFY, &balloon) != FALSE;
}

bool TrayIcon::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == taskbar_created_) {
    if (wanted_) Add();  // a taskbar made anew has no icon, whether or not it had one before
    return true;
  }
  if (message == WM_TIMER && wparam == kTrayRetryTimer) {
    if (wanted_) Retry();
    return true;
  }
  if (message != kTrayMessage) return false;
  switch (static_cast<UINT>(lparam)) {
    case WM_LBUTTONDOWN:
      if (handlers_.show) handlers_.show();
      break;
    case WM_RBUTTONUP:
    case WM_CONTEXTMENU: OpenMenu(); break;
    default: break;
  }
  return true;
}

void TrayIcon::OpenMenu() {
  POINT at{};
  ::GetCursorPos(&at);
  // The menu closes when the user clicks elsewhere only if its owner is the
  // foreground window (and gets a message after it).
  ::SetForegroundWindow(data_.hWnd);
  g_menu_mouse_input = false;
  HHOOK filter = ::SetWindowsHookExW(WH_MSGFILTER, &MenuInputFilter, nullptr, ::GetCurrentThreadId());
  const auto chosen = static_cast<UINT>(::TrackPopupMenuEx(
      menu_, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, data_.hWnd, nullptr));
  if (filter != nullptr) ::UnhookWindowsHookEx(filter);
  ::PostMessageW(data_.hWnd, WM_NULL, 0, 0);
  switch (chosen) {
    case kShowItem:
      // Only a mouse press on the item shows the toolbar, not the keyboard.
      if (g_menu_mouse_input && handlers_.show) handlers_.show();
      break;
    case kHelpItem:
      if (handlers_.help) handlers_.help();
      break;
    case kExitItem:
      if (handlers_.exit) handlers_.exit();
      break;
    default: break;
  }
}

}  // namespace tavlix::ui_win32
