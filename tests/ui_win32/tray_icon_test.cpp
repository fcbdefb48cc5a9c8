// The tray icon's way back: a refused icon is asked for again and, when the
// taskbar keeps refusing it, reported; every new taskbar gets it again; its
// balloons carry no icon. The shell's call is a recorder here.
#include "ui_win32/tray_icon.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "ui_win32/single_instance.h"

namespace tavlix::ui_win32 {
namespace {

struct ShellCalls {
  int refusals = 0;  // how many NIM_ADD calls to refuse
  std::vector<DWORD> calls;
  DWORD balloon_flags = 0xFFFF;
};
ShellCalls g_shell;

BOOL WINAPI FakeShell(DWORD what, PNOTIFYICONDATAW data) {
  g_shell.calls.push_back(what);
  if (what == NIM_MODIFY) g_shell.balloon_flags = data->dwInfoFlags;
  if (what == NIM_ADD && g_shell.refusals > 0) {
    --g_shell.refusals;
    return FALSE;
  }
  return TRUE;
}

// A tray icon of a message-only window whose shell refuses the first
// `refusals` icons; counts the "no tray" reports.
class RefusingShell {
 public:
  explicit RefusingShell(int refusals)
      : owner_(::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr)) {
    g_shell = {};
    g_shell.refusals = refusals;
    TrayIcon::Handlers handlers{nullptr, nullptr, nullptr, [this] { ++no_tray; }};
    tray = std::make_unique<TrayIcon>(owner_, nullptr, L"tip", std::move(handlers), &FakeShell);
  }
  ~RefusingShell() {
    tray.reset();
    ::DestroyWindow(owner_);
  }

  int no_tray = 0;
  std::unique_ptr<TrayIcon> tray;

 private:
  HWND owner_;
};

TEST(TrayIcon, ARefusedIconIsAskedForAgainAndComesBackWithEveryNewTaskbar) {
  RefusingShell shell(2);
  TrayIcon& tray = *shell.tray;
  int& no_tray = shell.no_tray;
  EXPECT_FALSE(tray.shown());
  tray.HandleMessage(WM_TIMER, kTrayRetryTimer, 0);
  EXPECT_FALSE(tray.shown());
  tray.HandleMessage(WM_TIMER, kTrayRetryTimer, 0);
  EXPECT_TRUE(tray.shown());
  const UINT taskbar_created = ::RegisterWindowMessageW(L"TaskbarCreated");
  tray.HandleMessage(taskbar_created, 0, 0);
  EXPECT_EQ(g_shell.calls, (std::vector<DWORD>{NIM_ADD, NIM_ADD, NIM_ADD, NIM_ADD}));
  EXPECT_TRUE(tray.ShowBalloon(L"saved", 3000));
  EXPECT_EQ(g_shell.balloon_flags, static_cast<DWORD>(NIIF_NONE));
  EXPECT_EQ(no_tray, 0);
}

TEST(TrayIcon, ATaskbarThatKeepsRefusingIsReportedOnceAndStillGetsTheIconWhenItComes) {
  RefusingShell shell(1000);
  TrayIcon& tray = *shell.tray;
  int& no_tray = shell.no_tray;
  for (int i = 0; i < kTrayRetries; ++i) tray.HandleMessage(WM_TIMER, kTrayRetryTimer, 0);
  EXPECT_EQ(no_tray, 1);
  g_shell.refusals = 0;
  tray.HandleMessage(::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_TRUE(tray.shown());
}

// The second start's request reaches the first copy's window, and only a
// window of the toolbar's class.
TEST(SingleInstance, ASecondStartPostsTheShowRequestToTheToolbarWindow) {
  EXPECT_FALSE(AskRunningCopyToShow());
  WNDCLASSW window_class{};
  window_class.lpfnWndProc = &::DefWindowProcW;
  window_class.hInstance = ::GetModuleHandleW(nullptr);
  window_class.lpszClassName = kToolbarClassName;
  ::RegisterClassW(&window_class);
  HWND toolbar = ::CreateWindowExW(WS_EX_TOOLWINDOW, kToolbarClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr,
                                   nullptr, window_class.hInstance, nullptr);
  // Wine without a display makes no top-level window; run-wine-toolbar-test
  // checks the real second start on one.
  if (toolbar == nullptr) GTEST_SKIP() << "no top-level window without a display";
  EXPECT_TRUE(AskRunningCopyToShow());
  MSG message{};
  EXPECT_TRUE(::PeekMessageW(&message, toolbar, ShowRequestMessage(), ShowRequestMessage(), PM_REMOVE));
  ::DestroyWindow(toolbar);
}

}  // namespace
}  // namespace tavlix::ui_win32
