// The toolbar and the settings dialog without a mouse: what Tab reaches, in
// which order, and the names screen readers read; the dialog laid out at the
// system's DPI.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui_win32/setting_dialog.h"
#include "ui_win32/toolbar_window.h"

namespace tavlix::ui_win32 {
namespace {

std::wstring TextOf(HWND window) {
  wchar_t text[128] = {};
  ::GetWindowTextW(window, text, 128);
  return text;
}

// A key as the message loop hands it to the dialog manager.
void Press(HWND parent, UINT message, WPARAM key) {
  MSG press{::GetFocus(), message, key, message == WM_SYSCHAR ? LPARAM{1} << 29 : 0, 0, {}};
  ::IsDialogMessageW(parent, &press);
}

// The window texts of what Tab reaches, from the first tab stop, once round
// and back to the first.
std::vector<std::wstring> TabRound(HWND parent, std::size_t count) {
  ::ShowWindow(parent, SW_SHOWNA);
  HWND first = ::GetNextDlgTabItem(parent, nullptr, FALSE);
  ::SetFocus(first);
  std::vector<std::wstring> texts;
  for (std::size_t i = 0; i < count && ::GetFocus() != nullptr; ++i) {
    texts.push_back(TextOf(::GetFocus()));
    Press(parent, WM_KEYDOWN, VK_TAB);
  }
  if (::GetFocus() != first) texts.push_back(L"(does not come round)");
  return texts;
}

TEST(KeyboardReach, ToolbarButtonsAreNamedTabStopsInRowOrder) {
  ToolbarWindow toolbar(::GetModuleHandleW(nullptr));
  ASSERT_TRUE(toolbar.Create());
  // Named in another order than the tab order, as the text table does it.
  toolbar.SetToolTip(app::ToolbarButton::close, "Close");
  toolbar.SetToolTip(app::ToolbarButton::setting_open, "Settings");
  toolbar.SetToolTip(app::ToolbarButton::scan, "Scan");
  toolbar.SetToolTip(app::ToolbarButton::help, "Help");
  toolbar.SetToolTip(app::ToolbarButton::feed, "Feed");
  toolbar.SetToolTip(app::ToolbarButton::folder_open, "Open folder");
  toolbar.SetToolTip(app::ToolbarButton::scan, "Scan now");  // renamed
  EXPECT_EQ(TabRound(toolbar.hwnd(), 6), (std::vector<std::wstring>{L"Scan now", L"Feed", L"Open folder",
                                                                    L"Settings", L"Help", L"Close"}));
}

TEST(KeyboardReach, SettingDialogReachesEveryChoiceAndFollowsTheDpi) {
  const HWND owner = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                       ::GetModuleHandleW(nullptr), nullptr);
  SettingDialog dialog(owner, nullptr, nullptr, app::DpiScale(144));
  EXPECT_EQ(TabRound(dialog.hwnd(), 7),
            (std::vector<std::wstring>{L"", L"Browse", L"OK", L"Cancel", L"JPEG", L"PNG", L"PDF"}));

  // A mnemonic in the folder label takes Alt+letter to the folder box.
  app::SettingsDialogTexts texts;
  texts.folder_label = "&Folder setting";
  dialog.SetTexts(texts);
  HWND ok = ::FindWindowExW(dialog.hwnd(), nullptr, L"BUTTON", L"OK");
  ::SetFocus(ok);
  Press(dialog.hwnd(), WM_SYSCHAR, L'f');
  EXPECT_EQ(::GetFocus(), ::GetNextDlgTabItem(dialog.hwnd(), nullptr, FALSE));

  // 284 x 261 and OK at (113, 226) 75 x 23 at 96 DPI: half again at 144.
  RECT client{};
  ::GetClientRect(dialog.hwnd(), &client);
  EXPECT_EQ(client.right, 426);
  EXPECT_EQ(client.bottom, 392);
  RECT place{};
  ::GetWindowRect(ok, &place);
  ::MapWindowPoints(nullptr, dialog.hwnd(), reinterpret_cast<POINT*>(&place), 2);
  EXPECT_EQ(place.left, 170);
  EXPECT_EQ(place.top, 339);
  EXPECT_EQ(place.right - place.left, 112);
  EXPECT_EQ(place.bottom - place.top, 35);
  ::DestroyWindow(owner);
}

}  // namespace
}  // namespace tavlix::ui_win32
