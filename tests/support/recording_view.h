// A view of the toolbar controller that records what a toolbar would show:
// boxes, balloons, button pictures and states, texts, the progress strip and
// the window's place. Boxes and the settings dialog return at once (the
// dialog through on_dialog). The thread that drives the controller only.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/toolbar_view.h"

namespace tavlix::test {

class RecordingView final : public app::ToolbarView {
 public:
  void ShowMessageBox(const std::string& text) override {
    boxes.push_back(text);
    if (on_box) on_box();
  }
  void ShowBalloon(app::Balloon, const std::string& text) override { balloons.push_back(text); }
  void SetButtonPicture(app::ToolbarButton button, int bitmap) override { pictures[button] = bitmap; }
  void SetButtonEnabled(app::ToolbarButton button, bool enabled) override { enabled_[button] = enabled; }
  void SetToolTip(app::ToolbarButton button, const std::string& text) override { tool_tips[button] = text; }
  void SetTrayItemText(app::TrayItem item, const std::string& text) override { tray_texts[item] = text; }
  void SetSettingsDialogTexts(const app::SettingsDialogTexts& texts) override {
    dialog_caption = texts.caption;
  }
  void ShowProgress(const app::ProgressStrip& strip) override { strips.push_back(strip); }
  app::Rect DesktopRect() override { return desktop; }
  app::Rect ToolbarRect() override { return toolbar; }
  void MoveToolbar(app::Point top_left) override {
    toolbar.x = top_left.x;
    toolbar.y = top_left.y;
  }
  void ShowToolbar() override { shown = true; }
  void HideToolbar() override { shown = false; }
  int SettingsDialogHeight() override { return 261; }
  std::optional<app::SettingsDialogValues> RunSettingsDialog(const app::SettingsDialogValues& values,
                                                             app::Point top_left) override {
    dialog_shown = values;
    dialog_at = top_left;
    return on_dialog ? on_dialog(values) : std::nullopt;
  }
  void RunPendingEvents() override {
    if (pump) pump();
  }

  // Scan and Feed / Stop: their pictures and whether they are enabled.
  std::vector<int> Looks() {
    return {pictures[app::ToolbarButton::scan], enabled_[app::ToolbarButton::scan] ? 1 : 0,
            pictures[app::ToolbarButton::feed], enabled_[app::ToolbarButton::feed] ? 1 : 0};
  }
  bool enabled(app::ToolbarButton button) { return enabled_.count(button) == 0 || enabled_[button]; }

  std::vector<std::string> boxes;
  std::vector<std::string> balloons;
  std::map<app::ToolbarButton, int> pictures;
  std::map<app::ToolbarButton, std::string> tool_tips;
  std::map<app::TrayItem, std::string> tray_texts;
  std::string dialog_caption;
  std::vector<app::ProgressStrip> strips;
  app::Rect desktop{0, 0, 1920, 1080};
  app::Rect toolbar{0, 0, 217, 80};
  bool shown = false;
  std::optional<app::SettingsDialogValues> dialog_shown;
  app::Point dialog_at;
  std::function<void()> on_box;
  std::function<std::optional<app::SettingsDialogValues>(const app::SettingsDialogValues&)> on_dialog;
  std::function<void()> pump;

 private:
  std::map<app::ToolbarButton, bool> enabled_;
};

}  // namespace tavlix::test
