// The whole road of a scan on real folders: the toolbar controller, the worker
// thread and the facade against the simulated board on its own thread, in
// compressed time. The test's thread is the window: its notification target
// records every note and hands it to the controller, which ends operations as
// the toolbar does.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <mutex>
#include <set>

#include "app/toolbar_controller.h"
#include "board/command_files.h"
#include "board/driver_facade.h"
#include "board/link_state.h"
#include "platform/clock.h"
#include "platform/drives.h"
#include "platform/known_folders.h"
#include "platform/shell.h"
#include "sim/sim_board.h"
#include "support/odd_files.h"
#include "support/recording_target.h"
#include "support/recording_view.h"
#include "support/temp_dir.h"
#include "support/time_compression.h"

namespace tavlix::test {

class EndToEnd : public ::testing::Test {
 protected:
  // Codes that end an operation.
  static bool EndsOperation(int code) { return app::OutcomeOfCode(code).has_value(); }

  void SetUp() override {
    board::ResetDriverForTests();
    WriteFile(table_, "C fixed System " + test::SystemRoot("/") + "\n");
    std::filesystem::create_directories(save_);
    platform::SetShellOpenHook([this](const std::filesystem::path& p) {
      std::lock_guard lock(opened_mutex_);
      opened_.insert(p);
      return true;
    });
    target_.on_note = [this](const Note& note) { controller_.OnBoardNotify(note.code, note.arg); };
    view_.pump = [this] { target_.Pump(); };
  }

  void TearDown() override {
    controller_.Shutdown();
    if (board_) board_->Stop();
    board::ResetDriverForTests();
    platform::SetShellOpenHook(nullptr);
  }

  sim::SimBoardOptions BoardOptions() {
    sim::SimBoardOptions o;
    o.root = dir_ / "board";
    o.drive_table = table_;
    o.progress_steps = 4;
    o.step_pace = platform::Millis(200);
    o.picture.width = 96;
    o.picture.height = 64;
    return o;
  }

  void StartBoard(sim::SimBoardOptions options) {
    board_ = std::make_unique<sim::SimBoard>(std::move(options));
    board_->Plug();
    board_->Start(platform::Millis(20));
  }

  void StartLink(settings::OutputFormat format) {
    app::StartOptions options;
    options.settings = app::ControllerSettings{format, save_.string()};
    options.save_settings_at_exit = false;
    ASSERT_TRUE(controller_.Start(&target_, options));
  }

  // Pumps until a note with `code` (or any ending note, for 0) arrives after
  // `from` notes; false after `limit` of real time.
  bool PumpUntilNote(std::size_t from, int code, std::chrono::seconds limit = std::chrono::seconds(60)) {
    const auto give_up = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < give_up) {
      target_.WaitAndPump(std::chrono::milliseconds(2));
      const auto notes = target_.notes();
      for (std::size_t i = from; i < notes.size(); ++i) {
        const int c = notes[i].code;
        if (code != 0 ? c == code : EndsOperation(c)) {
          // Let the nested end-of-operation notes arrive.
          target_.Pump();
          return true;
        }
      }
    }
    return false;
  }

  // Waits for the board as the toolbar's collector timer would, then presses
  // Scan; returns the index of the first note of the scan.
  std::size_t Scan() {
    for (int i = 0; i < 50 && !(controller_.KeepCollecting() == app::Collecting::yes && board::IsConnected());
         ++i) {
      platform::SleepFor(platform::Millis(100));
      target_.Pump();
    }
    EXPECT_TRUE(board::IsConnected());
    const std::size_t from = target_.notes().size();
    // Under the compressed clock the hand-over's 2000 ms are a few dozen real
    // milliseconds, which a worker still saving a picture on a loaded machine
    // can miss; the command is then withdrawn whole, and the user presses Scan
    // again.
    app::CommandResult result = controller_.Scan();
    for (int again = 0; again < 5 && result == app::CommandResult::timed_out; ++again) {
      target_.Pump();
      result = controller_.Scan();
    }
    EXPECT_EQ(result, app::CommandResult::handed_over);
    return from;
  }

  // One scan the board spoils with `fault`, pumped until `until` (0: any
  // ending note); the codes it produced, progress left out.
  std::vector<int> ScanWithFault(const sim::Fault& fault, int until) {
    board_->SetNextFault(fault);
    const std::size_t from = Scan();
    EXPECT_TRUE(PumpUntilNote(from, until)) << sim::DescribeFault(fault);
    return CodesFrom(from);
  }

  std::vector<int> CodesFrom(std::size_t from, bool with_progress = false) const {
    std::vector<int> codes;
    const auto notes = target_.notes();
    for (std::size_t i = from; i < notes.size(); ++i)
      if (with_progress || notes[i].code != board::BOARD_PROGRESS || notes[i].arg == -1)
        codes.push_back(notes[i].code);
    return codes;
  }

  std::set<std::string> SavedNames() const {
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(save_))
      names.insert(e.path().filename().string());
    return names;
  }

  TempDir dir_;
  std::filesystem::path table_ = dir_ / "drives.txt";
  std::filesystem::path save_ = dir_ / "saved";
  ScopedEnv env_{platform::kDriveTableVariable, table_.string()};
  ScopedEnv program_data_{platform::kAllUsersProfileVariable, (dir_ / "programdata").string()};
  ScopedEnv user_data_{platform::kUserDataVariable, (dir_ / "programdata").string()};
  platform::ScopedClock clock_{std::make_shared<platform::ScaledClock>(kTimeCompression)};
  RecordingTarget target_;
  RecordingView view_;
  app::ToolbarController controller_{view_, "end-to-end test"};
  std::unique_ptr<sim::SimBoard> board_;
  // The files the worker asked the desktop to open (after it reported them).
  std::size_t OpenedCount() {
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    std::size_t count = 0;
    do {
      {
        std::lock_guard lock(opened_mutex_);
        count = opened_.size();
      }
      target_.WaitAndPump(std::chrono::milliseconds(2));
    } while (std::chrono::steady_clock::now() < give_up && count < expected_opened_);
    return count;
  }

  std::size_t expected_opened_ = 0;
  std::mutex opened_mutex_;
  std::set<std::filesystem::path> opened_;
};

}  // namespace tavlix::test
