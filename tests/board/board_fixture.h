// A simulated machine for board-link tests: a drive table with a system disk
// and a board drive on a temporary folder, a virtual clock, and a recording
// notification target that belongs to the test's thread.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "board/link_state.h"
#include "platform/attributes.h"
#include "platform/clock.h"
#include "platform/drives.h"
#include "support/odd_files.h"
#include "support/recording_target.h"
#include "support/temp_dir.h"

namespace tavlix::test {

class BoardFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    board::ResetLinkStateForTests();
    board::Link().hWnd_Form = &target_;
    std::filesystem::create_directories(board_);
    std::filesystem::create_directories(save_);
    Plug();
  }
  void TearDown() override { board::ResetLinkStateForTests(); }

  // The board's drive (E, position 1, row 3: BOARD_FOUND 19) comes and goes
  // by rewriting the table, as a tool outside the program would.
  void Plug() {
    ReplaceFile(table_,
                "C fixed System " + test::SystemRoot("/") + "\nE removable R-61 " + board_.string() + "\n");
  }
  void Unplug() { ReplaceFile(table_, "C fixed System " + test::SystemRoot("/") + "\n"); }

  std::filesystem::path Cmd() const { return board_ / "cmd"; }
  void MakeCmd() { std::filesystem::create_directories(Cmd()); }
  void Hide() { ASSERT_TRUE(platform::SetAttributes(Cmd(), platform::kAttrHidden)); }
  void Release() { ASSERT_TRUE(platform::SetAttributes(Cmd(), platform::kAttrNormal)); }
  bool Hidden() const { return (platform::GetAttributes(Cmd()) & platform::kAttrHidden) != 0; }
  void Progress(std::size_t percent) { WriteFile(Cmd() / "progress.bin", std::string(percent, '%')); }

  static constexpr int kBoardFound = 1 * 16 + 3;

  TempDir dir_;
  std::filesystem::path board_ = dir_ / "board";
  std::filesystem::path save_ = dir_ / "saved";
  std::filesystem::path table_ = dir_ / "drives.txt";
  ScopedEnv env_{platform::kDriveTableVariable, table_.string()};
  std::shared_ptr<platform::VirtualClock> clock_ = std::make_shared<platform::VirtualClock>();
  platform::ScopedClock scoped_clock_{clock_};
  RecordingTarget target_;
};

}  // namespace tavlix::test
