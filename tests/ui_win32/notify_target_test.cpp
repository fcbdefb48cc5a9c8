// The window-message notification channel: the worker's notifications reach
// the window's thread through WM_APP + 1 in whatever message loop runs, the
// sender waits for them, and a window that does not answer holds the sender
// no longer than the delivery bound.
#include "ui_win32/notify_target.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "app/ui_notify_target.h"

namespace tavlix::ui_win32 {
namespace {

using namespace std::chrono_literals;

struct Delivered {
  int code;
  std::intptr_t arg;
  DWORD thread;
};

// A message-only window whose procedure runs the target's queue, as the
// toolbar's does.
class TargetWindow {
 public:
  TargetWindow()
      : target_(thread_, [this](int code, std::intptr_t arg) {
          delivered.push_back({code, arg, ::GetCurrentThreadId()});
        }) {
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = &TargetWindow::Procedure;
    window_class.hInstance = ::GetModuleHandleW(nullptr);
    window_class.lpszClassName = L"TavlixNotifyTest";
    ::RegisterClassW(&window_class);
    hwnd_ = ::CreateWindowExW(0, L"TavlixNotifyTest", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              window_class.hInstance, nullptr);
    ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&thread_));
    thread_.Attach(hwnd_);
  }
  ~TargetWindow() { ::DestroyWindow(hwnd_); }

  app::UiNotifyTarget& target() { return target_; }
  WindowUiThread& thread() { return thread_; }
  // Pumps the thread's messages until `done` or `limit` passes.
  void PumpUntil(const std::atomic<bool>& done, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done && std::chrono::steady_clock::now() < end) {
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
      MSG message{};
      while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
    }
  }

  std::vector<Delivered> delivered;

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* thread = reinterpret_cast<WindowUiThread*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == kBoardNotifyMessage && thread != nullptr) {
      thread->RunQueued();
      return 0;
    }
    return ::DefWindowProcW(hwnd, message, wparam, lparam);
  }

  WindowUiThread thread_;
  app::UiNotifyTarget target_;
  HWND hwnd_ = nullptr;
};

TEST(WindowNotifyTarget, AWorkersNotificationsRunOnTheWindowsThreadInOrderWhileTheSenderWaits) {
  TargetWindow window;
  std::atomic<bool> sent{false};
  std::vector<std::size_t> seen_by_sender;
  std::thread worker([&] {
    for (int code : {board::BOARD_JOB_BEGIN, board::BOARD_PROGRESS, board::BOARD_JOB_END}) {
      SendBoardNotify(&window.target(), code, std::intptr_t{code} * 10);
      // The sender goes on only after the window has handled it.
      seen_by_sender.push_back(window.delivered.size());
    }
    sent = true;
  });
  window.PumpUntil(sent, 10s);
  worker.join();
  ASSERT_EQ(window.delivered.size(), 3u);
  EXPECT_EQ(seen_by_sender, (std::vector<std::size_t>{1, 2, 3}));
  EXPECT_EQ(window.delivered[1].code, board::BOARD_PROGRESS);
  EXPECT_EQ(window.delivered[1].arg, board::BOARD_PROGRESS * 10);
  for (const Delivered& note : window.delivered) EXPECT_EQ(note.thread, ::GetCurrentThreadId());

  // On the window's own thread the handler runs at once, nested.
  SendBoardNotify(&window.target(), board::BOARD_FOUND, 33);
  EXPECT_EQ(window.delivered.size(), 4u);
}

TEST(WindowNotifyTarget, AWindowThatDoesNotAnswerHoldsTheSenderOnlyForTheBoundAndAClosedOneNotAtAll) {
  board::SetNotifyDeliveryBound(500ms);
  TargetWindow window;
  std::atomic<bool> sent{false};
  std::chrono::steady_clock::duration waited{};
  std::thread worker([&] {
    const auto start = std::chrono::steady_clock::now();
    SendBoardNotify(&window.target(), board::BOARD_IMAGE_SAVED, 1);
    waited = std::chrono::steady_clock::now() - start;
    sent = true;
  });
  worker.join();  // this thread pumps nothing meanwhile
  board::SetNotifyDeliveryBound(board::kNotifyDeliveryBound);
  EXPECT_GE(waited, 450ms);
  EXPECT_LT(waited, 900ms);  // not the bound twice over
  // The notification was not lost: it runs when the window gets to it.
  std::atomic<bool> never{false};
  window.PumpUntil(never, 200ms);
  ASSERT_EQ(window.delivered.size(), 1u);
  EXPECT_EQ(window.delivered[0].code, board::BOARD_IMAGE_SAVED);

  window.thread().Close();
  std::thread late([&] { SendBoardNotify(&window.target(), board::BOARD_LOST, 1); });
  late.join();  // returns at once although nobody pumps
  window.PumpUntil(never, 100ms);
  EXPECT_EQ(window.delivered.size(), 1u);
}

}  // namespace
}  // namespace tavlix::ui_win32
