// What the toolbar's tests share: the check for the QApplication that
// ui_tests_main makes, a presenter that records instead of showing,
// and a private world for the settings, the texts and the drive table, with a
// virtual clock so that the toolbar's pauses cost nothing.
#pragma once

#include <gtest/gtest.h>

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "settings/localised_texts.h"
#include "settings/settings_sandbox.h"
#include "ui_qt/presenter.h"
#include "ui_qt/toolbar_window.h"

namespace tavlix::test {

// Fails the test when there is no QApplication.
void EnsureApplication();

class RecordingPresenter final : public tavlix::ui_qt::Presenter {
 public:
  void ShowMessageBox(const QString& text) override {
    boxes.push_back(text.toStdString());
    if (on_box) on_box();
  }
  void ShowBalloon(QSystemTrayIcon&, const QString& text) override { balloons.push_back(text.toStdString()); }
  int RunModal(QDialog& dialog) override {
    ++modal_runs;
    return on_modal ? on_modal(dialog) : QDialog::Rejected;
  }
  std::optional<QString> BrowseFolder(QWidget*, const QString& description) override {
    browse_descriptions.push_back(description.toStdString());
    return browse_result;
  }

  std::vector<std::string> boxes;
  std::vector<std::string> balloons;
  std::vector<std::string> browse_descriptions;
  int modal_runs = 0;
  std::function<void()> on_box;
  std::function<int(QDialog&)> on_modal;
  std::optional<QString> browse_result;
};

// The localised texts with every built-in default, loaded.
settings::LocalisedTexts DefaultTexts();

class ToolbarTest : public ::testing::Test {
 protected:
  ToolbarTest();

 public:
  ~ToolbarTest() override;

 protected:
  // A toolbar that is built but not loaded: no settings, no board link.
  std::unique_ptr<tavlix::ui_qt::Form1> MakeForm(bool system_tray = true);
  void SetBoardPresent(bool present);

  SettingsSandbox sandbox_;
  RecordingPresenter presenter_;
};

}  // namespace tavlix::test
