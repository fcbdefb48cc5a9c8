// The toolbar's tray icon: the program icon with its hover text, balloons,
// and a small menu (show, help, exit, with separators between) that opens on
// the right button. A left press on the icon, or on the menu's show item, is
// reported as "show"; choosing the show item with the keyboard reports
// nothing. An icon the taskbar refused (a taskbar still starting at logon) is
// asked for again every kTrayRetryInterval, up to kTrayRetries times, and then
// reported as "no tray"; the icon is added again whenever the taskbar is made
// anew (TaskbarCreated), also after that.
//
// UI thread only. Its notifications and its retry timer (kTrayRetryTimer)
// arrive at the owner window, whose procedure passes them to HandleMessage.
#pragma once

#include <functional>
#include <string>

#include "app/toolbar_view.h"
#include "ui_win32/win32.h"

namespace tavlix::ui_win32 {

inline constexpr UINT kTrayMessage = WM_APP + 2;
inline constexpr UINT_PTR kTrayRetryTimer = 0x7472;
inline constexpr UINT kTrayRetryInterval = 2000;  // milliseconds
inline constexpr int kTrayRetries = 15;

// The shell's icon call (Shell_NotifyIconW; tests give another).
using NotifyIconCall = BOOL(WINAPI*)(DWORD, PNOTIFYICONDATAW);

class TrayIcon {
 public:
  struct Handlers {
    std::function<void()> show;  // a left press on the icon or the show item
    std::function<void()> help;
    std::function<void()> exit;
    std::function<void()> no_tray;  // the taskbar kept refusing the icon
  };

  TrayIcon(HWND owner, HICON icon, const std::wstring& tip, Handlers handlers,
           NotifyIconCall notify = &::Shell_NotifyIconW);
  ~TrayIcon();
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  // A menu item's text (the layout's "show toolbar", "help", "close" until set).
  void SetItemText(app::TrayItem item, const std::wstring& text);
  // Whether the icon is in the tray now.
  bool shown() const { return shown_; }
  // A balloon with `text`, no title and no icon, for `milliseconds`; an empty
  // text shows none. false when the system refused it.
  bool ShowBalloon(const std::wstring& text, unsigned milliseconds);
  // Removes the icon for good (it is removed on destruction too).
  void Remove();

  // True when the owner's message was the icon's and has been handled.
  bool HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);

 private:
  bool Add();
  void OpenMenu();

  void Retry();

  NOTIFYICONDATAW data_{};
  NotifyIconCall notify_;
  bool shown_ = false;
  bool wanted_ = true;  // until Remove
  int retries_ = 0;
  UINT taskbar_created_;
  HMENU menu_;
  Handlers handlers_;
};

}  // namespace tavlix::ui_win32
