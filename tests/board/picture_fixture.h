// A board drive at a temporary folder, a save folder beside it, a worker
// whose picture functions run against them, a clock fixed at
// 2020-12-03 14:25:01 UTC, and a recorder for the shell's "open".
#pragma once

#include <gtest/gtest.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "board/communication_thread.h"
#include "board/link_state.h"
#include "platform/clock.h"
#include "platform/drives.h"
#include "platform/file_times.h"
#include "platform/path_text.h"
#include "platform/shell.h"
#include "support/odd_files.h"
#include "support/recording_target.h"
#include "support/temp_dir.h"
#include "support/test_pictures.h"

namespace tavlix::test {

namespace fs = std::filesystem;

// The worker with the picture fields open to the tests.
class PictureWorker : public board::TCommunicationThread {
 public:
  using board::TCommunicationThread::FlgOpenSavedFile;
  using board::TCommunicationThread::ImageType;
  using board::TCommunicationThread::LatestImageTime;
  using board::TCommunicationThread::OutputFileExt;
  using board::TCommunicationThread::TCommunicationThread;
};

inline platform::WallTime CopyTime() {
  using namespace std::chrono;
  return sys_days{year{2020} / 12 / 3} + hours{14} + minutes{25} + seconds{1};
}

class PictureTest : public ::testing::Test {
 protected:
  PictureTest() {
    ::tzset();  // TZ=UTC from tz_ below
    fs::create_directories(board_);
    PlugBoard();
    board::ResetLinkStateForTests();
    board::Link().hWnd_Form = &target_;
    board::Link().Connected = true;
    platform::SetShellOpenHook([this](const fs::path& path) {
      opened_.push_back(path);
      return true;
    });
    worker_.ChangeImageFileSetting(settings::OutputFormat::png, save_.string());
  }

 public:
  ~PictureTest() override {
    platform::SetShellOpenHook({});
    board::ResetLinkStateForTests();
  }

 protected:
  void PlugBoard() {
    ReplaceFile(table_,
                "C fixed Sys " + test::SystemRoot("/") + "\nE removable R-61 " + board_.string() + "\n");
  }
  void UnplugBoard() { ReplaceFile(table_, "C fixed Sys " + test::SystemRoot("/") + "\n"); }

  // Puts a file on the board, created strictly after every earlier one (file
  // times tick coarsely, so this may wait a few milliseconds).
  fs::path PutOnBoard(const std::string& name, std::string_view content) {
    fs::path path = board_ / platform::PathFromUtf8(name);
    for (;;) {
      WriteFile(path, content);
      const auto created = platform::FileCreationTime(path);
      if (created && (!last_created_ || *created > *last_created_)) {
        last_created_ = created;
        return path;
      }
      fs::remove(path);
      ::usleep(1000);
    }
  }
  fs::path PutPictureOnBoard(const std::string& name, imaging::PictureFormat format, unsigned seed = 1) {
    TempDir scratch;
    SavePictureFile(scratch / "p", TestPicture(48, 32, seed), format);
    return PutOnBoard(name, ReadText(scratch / "p"));
  }
  fs::path PutPdfOnBoard(const std::string& name, int pages) {
    std::vector<imaging::Raster> pictures;
    std::vector<imaging::RasterView> views;
    for (int k = 0; k < pages; ++k) pictures.push_back(TestPicture(40, 24, static_cast<unsigned>(k + 1)));
    for (const auto& p : pictures) views.push_back(imaging::ViewOf(p));
    const auto bytes = BoardPdfBytes(views);
    return PutOnBoard(name, std::string(bytes.begin(), bytes.end()));
  }

  std::vector<std::string> Saved() const {
    return fs::exists(save_) ? FilesIn(save_) : std::vector<std::string>{};
  }
  std::vector<int> Codes() const { return target_.codes(); }

  ScopedEnv tz_{"TZ", "UTC"};
  TempDir dir_;
  fs::path board_ = dir_ / "board";
  fs::path save_ = dir_ / "save";
  fs::path table_ = dir_ / "drives.txt";
  ScopedEnv table_env_{platform::kDriveTableVariable, table_.string()};
  std::shared_ptr<platform::VirtualClock> clock_ = std::make_shared<platform::VirtualClock>(CopyTime());
  platform::ScopedClock scoped_clock_{clock_};
  RecordingTarget target_;
  PictureWorker worker_{&target_};
  std::vector<fs::path> opened_;
  std::optional<platform::WallTime> last_created_;
};

}  // namespace tavlix::test
