// The whole road of a scan from the toolbar: Form1 loaded as the program loads
// it, the worker thread, and the simulated board on a thread of its own, in
// compressed time. Pressing Scan saves a picture and asks for the balloon.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include "board/driver_facade.h"
#include "platform/clock.h"
#include "platform/known_folders.h"
#include "platform/shell.h"
#include "sim/sim_board.h"
#include "support/temp_dir.h"
#include "ui_fixture.h"
#include "ui_qt/image_button.h"

namespace tavlix::test {
namespace {

bool PumpUntil(const std::function<bool()>& done, std::chrono::seconds limit = std::chrono::seconds(60)) {
  const auto give_up = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > give_up) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  return true;
}

TEST(ScanFromTheToolbar, PressingScanSavesThePictureAndAnnouncesIt) {
  EnsureApplication();
  board::ResetDriverForTests();
  TempDir dir;
  const auto save = dir / "saved";
  std::filesystem::create_directories(save);
  std::filesystem::create_directories(dir / "programdata" / "Orvane Tavlix" / "TavlixConnect");
  WriteFile(dir / "programdata" / "Orvane Tavlix" / "TavlixConnect" / "TavlixConnect_setup.ini",
            "[setting]\nsaveprm=2\nsavepath=" + save.string() + "\n");
  WriteFile(dir / "drives", "C fixed System /\n");
  ScopedEnv all_users(platform::kAllUsersProfileVariable, (dir / "programdata").string());
  ScopedEnv user_data(platform::kUserDataVariable, (dir / "programdata").string());
  ScopedEnv profile(platform::kUserProfileVariable, (dir / "profile").string());
  ScopedEnv table(platform::kDriveTableVariable, (dir / "drives").string());
  platform::ScopedClock clock(std::make_shared<platform::ScaledClock>(25));
  std::vector<std::filesystem::path> opened;
  platform::SetShellOpenHook([&](const std::filesystem::path& p) {
    opened.push_back(p);
    return true;
  });

  sim::SimBoardOptions options;
  options.root = dir / "board";
  options.drive_table = dir / "drives";
  options.progress_steps = 4;
  options.step_pace = platform::Millis(200);
  options.picture.width = 96;
  options.picture.height = 64;
  sim::SimBoard board(options);
  board.Plug();
  board.Start(platform::Millis(20));

  RecordingPresenter presenter;
  {
    tavlix::ui_qt::Form1 form({&presenter, true, false});
    form.Form1_Load();
    ASSERT_TRUE(PumpUntil([&] { return form.button_usb_scan->isEnabled() && board::IsConnected(); }));
    EXPECT_EQ(presenter.balloons.front(), "Detect tavlix.\ndevice:R-61\ndrive:E");

    form.button_usb_scan->click();
    ASSERT_TRUE(PumpUntil([&] {
      return std::find(presenter.balloons.begin(), presenter.balloons.end(), "Image file saved.") !=
             presenter.balloons.end();
    })) << "boxes: "
        << presenter.boxes.size();
    // The operation ended: the buttons are back and the strip is covered.
    ASSERT_TRUE(PumpUntil([&] { return form.button_usb_scan->isEnabled(); }));
    EXPECT_EQ(form.button_usb_scan->bitmap(), 113);
    EXPECT_EQ(form.height(), 80);
    EXPECT_TRUE(presenter.boxes.empty());
    form.close();
  }
  board.Stop();
  platform::SetShellOpenHook(nullptr);
  board::ResetDriverForTests();

  std::vector<std::string> saved;
  for (const auto& entry : std::filesystem::directory_iterator(save))
    saved.push_back(entry.path().filename());
  ASSERT_EQ(saved.size(), 1u);
  EXPECT_TRUE(saved[0].ends_with(".png")) << saved[0];
  EXPECT_EQ(board.scans_finished(), 1);
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0].filename(), saved[0]);
}

}  // namespace
}  // namespace tavlix::test
