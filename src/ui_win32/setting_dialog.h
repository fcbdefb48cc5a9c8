// The settings dialog: a fixed tool window (284 x 261 client area) with the
// folder text box, Browse, the format choices JPEG, PNG and PDF (and the
// board's own format, never visible), OK and Cancel at the layout's places.
// It holds no settings: the controller fills it, and checks and applies what
// comes back. No button is the default or the cancel button: Enter and Esc do
// nothing; the close box is Cancel. Without a mouse: Tab goes from the
// folder box through Browse, OK and Cancel to each format choice, Space
// presses or checks the focused one, and a label's or button's text with an
// "&" before a letter makes Alt+letter reach it (the folder label reaches the
// folder box, the format label the choices).
//
// Laid out at the system's DPI: every place and size of the 96-DPI layout
// times dpi / 96, with the system's message font for that DPI.
//
// Built once, hidden, and reused for every opening; UI thread only.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "app/dpi_scale.h"
#include "app/toolbar_view.h"
#include "ui_win32/win32.h"

namespace tavlix::ui_win32 {

class SettingDialog {
 public:
  SettingDialog(HWND owner, HICON small_icon, HICON icon, app::DpiScale scale);
  ~SettingDialog();
  SettingDialog(const SettingDialog&) = delete;
  SettingDialog& operator=(const SettingDialog&) = delete;

  HWND hwnd() const { return hwnd_; }
  void SetTexts(const app::SettingsDialogTexts& texts);
  // The outer height, for placing the dialog.
  int Height() const;
  // Fills, places and shows the dialog modally over its owner (disabled
  // meanwhile); the values on OK, nullopt on Cancel or the close box.
  std::optional<app::SettingsDialogValues> Run(const app::SettingsDialogValues& shown, app::Point top_left);

 private:
  enum class Result { open, ok, cancel };
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
  HWND MakeControl(const wchar_t* kind, const wchar_t* text, DWORD style, app::Rect place, int id);
  void FitToText(HWND label);
  void Browse();

  HWND owner_;
  app::DpiScale scale_;
  HWND hwnd_ = nullptr;
  HFONT font_ = nullptr;
  HWND folder_text_ = nullptr;
  HWND folder_label_ = nullptr;
  HWND format_label_ = nullptr;
  // Board's own, JPEG, PNG, PDF: the order in which OK reads them.
  std::array<HWND, 4> choices_{};
  std::wstring browse_description_ = L"Select Folder";
  Result result_ = Result::open;
};

}  // namespace tavlix::ui_win32
