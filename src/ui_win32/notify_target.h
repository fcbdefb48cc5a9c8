// The Win32 toolbar's end of the board link's notification channel: the
// window's thread as app::UiThread. A notification from another thread is queued and the window is sent the
// message WM_BOARD_NOTIFY (WM_APP + 1) with SendMessageTimeoutW, bounded by
// the delivery bound (5000 ms): the window procedure runs the queue
// (RunQueued) on the window's thread, in a message loop of any kind (the
// toolbar's, a message box's, a modal dialog's, the facade's pump), while the
// sender waits. One sent on the window's own thread runs the handler at once.
//
// When the window does not answer within the bound, the sender carries on
// and PostToOwnThread answers false, so that it does not wait again; the
// notification stays queued, the window is posted a wake-up and handles it
// when it gets to it: late, but not lost. After Close() nothing more is
// queued.
//
// Created on the window's thread; attach the window before the board link
// can see the target that uses it, and replace that target in the board link
// (the controller's Shutdown) before destroying it.
#pragma once

#include <atomic>
#include <deque>
#include <functional>
#include <mutex>

#include "app/ui_thread.h"
#include "ui_win32/win32.h"

namespace tavlix::ui_win32 {

inline constexpr UINT kBoardNotifyMessage = WM_APP + 1;
static_assert(kBoardNotifyMessage == app::kUiNotifyMessage);

class WindowUiThread final : public app::UiThread {
 public:
  WindowUiThread();

  void Attach(HWND window) { window_.store(window); }
  void Close() { closed_ = true; }

  bool IsOwnThread() const override;
  bool PostToOwnThread(std::function<void()> task) override;

  // The window procedure's part for kBoardNotifyMessage: runs every queued
  // notification, oldest first. Window thread only.
  void RunQueued();

 private:
  const DWORD thread_;
  std::atomic<HWND> window_{nullptr};
  std::atomic<bool> closed_{false};
  std::mutex mutex_;
  std::deque<std::function<void()>> queued_;
};

}  // namespace tavlix::ui_win32
