// The toolbar's tray icon: the program icon with its hover text, balloons,
// and a small menu (show, help, exit, with separators between) that opens on
// the right button. A left press on the icon, or on the menu's show item, is
// reported as "show"; choosing the show item with the keyboard reports
// nothing. The icon comes back when the taskbar is made anew.
//
// UI thread only. Its notifications arrive as kTrayMessage at the owner
// window, whose procedure passes them to HandleMessage.
#pragma once

#include <functional>
#include <string>

#include "app/toolbar_view.h"
#include "ui_win32/win32.h"

namespace tavlix::ui_win32 {

inline constexpr UINT kTrayMessage = WM_APP + 2;

class TrayIcon {
 public:
  struct Handlers {
    std::function<void()> show;  // a left press on the icon or the show item
    std::function<void()> help;
    std::function<void()> exit;
  };

  TrayIcon(HWND owner, HICON icon, const std::wstring& tip, Handlers handlers);
  ~TrayIcon();
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  // A menu item's text (the layout's "show toolbar", "help", "close" until set).
  void SetItemText(app::TrayItem item, const std::wstring& text);
  // A balloon with `text`, no title, for `milliseconds`; an empty text shows
  // none. false when the system refused it.
  bool ShowBalloon(const std::wstring& text, unsigned milliseconds);
  // Removes the icon (it is removed on destruction too).
  void Remove();

  // True when the owner's message was the icon's and has been handled.
  bool HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);

 private:
  bool Add();
  void OpenMenu();

  NOTIFYICONDATAW data_{};
  bool shown_ = false;
  UINT taskbar_created_;
  HMENU menu_;
  Handlers handlers_;
};

}  // namespace tavlix::ui_win32
