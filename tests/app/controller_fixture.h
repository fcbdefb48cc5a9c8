// What the controller's tests share: a started controller in a private settings world with the
// board link's state set by hand (no worker) and the clock virtual.
#pragma once

#include <gtest/gtest.h>

#include "app/toolbar_controller.h"
#include "board/driver_facade.h"
#include "board/link_state.h"
#include "platform/shell.h"
#include "settings/settings_sandbox.h"
#include "support/recording_target.h"
#include "support/recording_view.h"

namespace tavlix::test {

inline const std::vector<int> kReadyLooks{113, 1, 117, 1};
inline const std::vector<int> kDisabledLooks{112, 0, 116, 0};

class ControllerTest : public ::testing::Test {
 protected:
  // Without `program_data` the data folder cannot be made: no text table.
  explicit ControllerTest(bool program_data = true) {
    if (!program_data) sandbox_.RemoveDataFolders();
    board::ResetDriverForTests();
    platform::SetShellOpenHook([this](const std::filesystem::path& p) {
      opened_.push_back(p.string());
      return true;
    });
    target_.on_note = [this](const Note& note) { controller_.OnBoardNotify(note.code, note.arg); };
    view_.pump = [this] { target_.Pump(); };
    EXPECT_TRUE(controller_.Start(&target_));
    board::ResetDriverForTests();   // the worker is not needed: the link's state is set by hand
    board::SetNewHandle(&target_);  // board look-ups still report to the controller
  }

 public:
  ~ControllerTest() override {
    controller_.Shutdown();
    board::ResetDriverForTests();
    platform::SetShellOpenHook(nullptr);
  }

 protected:
  static void SetBoardPresent(bool present) { board::Link().Connected = present; }
  void Notify(int code, std::intptr_t arg = 1) { controller_.OnBoardNotify(code, arg); }

  SettingsSandbox sandbox_;
  RecordingView view_;
  RecordingTarget target_;
  app::ToolbarController controller_{view_, "TavlixConnect"};
  std::vector<std::string> opened_;
};

}  // namespace tavlix::test
