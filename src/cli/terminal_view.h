// The command line's view of the toolbar controller for `tavlix scan`, `feed`,
// `watch` and `demo`: message boxes, failed saves and another collector's hold
// as lines on the error stream, the other balloons as lines on the output,
// the progress as a bar redrawn on one line on a terminal and as plain lines
// otherwise. Buttons, tool tips and the window's place have nothing to show.
//
// Owned by the board session on the command line's thread; it pumps the
// session's notification queue when the controller lets events run.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>

#include "app/toolbar_view.h"

namespace tavlix::cli {

class TerminalView final : public app::ToolbarView {
 public:
  TerminalView(std::ostream& out, std::ostream& err, bool terminal, std::function<void()> pump);

  // Ends an open progress line, so that the next text starts on its own line.
  void EndProgressLine();
  // While set, progress is not drawn (the end of an operation reports its
  // argument as progress; the command line shows none for it).
  void HoldProgress(bool hold) { progress_held_ = hold; }

  void ShowMessageBox(const std::string& text) override;
  void ShowBalloon(app::Balloon kind, const std::string& text) override;
  void SetButtonPicture(app::ToolbarButton, int) override {}
  void SetButtonEnabled(app::ToolbarButton, bool) override {}
  void SetToolTip(app::ToolbarButton, const std::string&) override {}
  void SetTrayItemText(app::TrayItem, const std::string&) override {}
  void SetSettingsDialogTexts(const app::SettingsDialogTexts&) override {}
  void ShowProgress(const app::ProgressStrip& strip) override;
  app::Rect DesktopRect() override { return {}; }
  app::Rect ToolbarRect() override { return {}; }
  void MoveToolbar(app::Point) override {}
  void ShowToolbar() override {}
  void HideToolbar() override {}
  int SettingsDialogHeight() override { return 0; }
  // The command line changes settings with `tavlix settings`, never here.
  std::optional<app::SettingsDialogValues> RunSettingsDialog(const app::SettingsDialogValues&,
                                                             app::Point) override {
    return std::nullopt;
  }
  void RunPendingEvents() override { pump_(); }

 private:
  std::ostream& out_;
  std::ostream& err_;
  bool terminal_;
  std::function<void()> pump_;
  bool progress_held_ = false;
  int last_progress_ = -1;
  bool progress_line_open_ = false;
};

}  // namespace tavlix::cli
