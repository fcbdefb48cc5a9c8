// The controller's start-up, commands and shut-down, with the board link's
// state set by hand and the clock virtual.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/help_page.h"
#include "board/collector_lock.h"
#include "board/drive_discovery.h"
#include "controller_fixture.h"
#include "platform/process.h"
#include "settings/settings_paths.h"
#include "support/temp_dir.h"

namespace tavlix::test {
namespace {

using app::ToolbarButton;

class Commands : public ControllerTest {};

TEST_F(Commands, StartPlacesTheToolbarAppliesTheTextsAndReadsTheSettings) {
  EXPECT_EQ(view_.toolbar, (app::Rect{1511, 108, 217, 80}));
  EXPECT_EQ(view_.tool_tips[ToolbarButton::scan], "Scan");
  EXPECT_EQ(view_.tool_tips[ToolbarButton::help], "Help");
  EXPECT_EQ(view_.tray_texts[app::TrayItem::show], "Show");
  EXPECT_EQ(view_.tray_texts[app::TrayItem::exit], "Exit");
  EXPECT_EQ(view_.dialog_caption, "Orvane Tavlix Connect");
  EXPECT_EQ(controller_.settings().format, settings::OutputFormat::png);
  EXPECT_EQ(controller_.settings().save_folder, settings::DefaultSaveFolderPath());
}

TEST_F(Commands, ShutdownWritesTheSettingsOnceAndIgnoresLaterNotifications) {
  ASSERT_FALSE(std::filesystem::exists(sandbox_.SettingFile()));
  controller_.Shutdown();
  EXPECT_NE(ReadText(sandbox_.SettingFile()).find("saveprm=2"), std::string::npos);
  EXPECT_EQ(board::Link().hWnd_Form.load(), nullptr);
  Notify(board::BOARD_LOST);
  EXPECT_TRUE(view_.enabled(ToolbarButton::scan));
}

TEST_F(Commands, ScanWithoutABoardWaitsHalfASecondAndSaysSo) {
  const auto slept = sandbox_.clock().TotalSlept();
  EXPECT_EQ(controller_.Scan(), app::CommandResult::no_board);
  EXPECT_EQ(sandbox_.clock().TotalSlept() - slept, std::chrono::milliseconds(500));
  EXPECT_EQ(view_.boxes, (std::vector<std::string>{"Obtaining annotated image failed"}));
  EXPECT_FALSE(view_.enabled(ToolbarButton::scan));
}

TEST_F(Commands, ABoardAnotherCollectorHoldsIsLeftAloneAndScanSaysWhoHasIt) {
  const auto board = sandbox_.dir() / "board";
  std::filesystem::create_directories(board);
  sandbox_.PlugBoard(board);
  std::string model, root;
  ASSERT_TRUE(board::GetTargetDrive(model, root));
  std::optional<platform::ProcessLock> other =
      platform::ProcessLock::TryTake(board::CollectorLockName(root), "tavlix watch");
  ASSERT_TRUE(other->held()) << other->error();
  const std::string told =
      "Another program is already collecting the pictures of the board:\ntavlix watch (process " +
      std::to_string(platform::ProcessId()) + ")";
  const auto times_told = [&] { return std::ranges::count(view_.balloons, told); };
  // Told in a balloon, which holds nothing up; the buttons stay usable.
  EXPECT_EQ(controller_.Scan(), app::CommandResult::collector_busy);
  EXPECT_EQ(controller_.Feed(), app::CommandResult::collector_busy);
  EXPECT_EQ(times_told(), 2);
  EXPECT_TRUE(view_.boxes.empty());
  EXPECT_TRUE(view_.enabled(ToolbarButton::scan));
  EXPECT_TRUE(view_.enabled(ToolbarButton::feed));
  // The periodic looks say it no more; after an unplug it is a new refusal.
  EXPECT_EQ(controller_.KeepCollecting(), app::Collecting::busy);
  EXPECT_EQ(times_told(), 2);
  std::filesystem::remove(sandbox_.dir() / "drives");  // unplugged
  EXPECT_EQ(controller_.KeepCollecting(), app::Collecting::no_board);
  sandbox_.PlugBoard(board);
  EXPECT_EQ(controller_.KeepCollecting(), app::Collecting::busy);
  EXPECT_EQ(times_told(), 3);
  EXPECT_FALSE(controller_.collecting());
  EXPECT_FALSE(std::filesystem::exists(board / "cmd"));
  other.reset();
  EXPECT_EQ(controller_.KeepCollecting(), app::Collecting::yes);
  EXPECT_EQ(times_told(), 3);
}

TEST_F(Commands, HandOverFailuresShowTheirTexts) {
  SetBoardPresent(true);
  std::filesystem::create_directories(sandbox_.dir() / "board");
  sandbox_.PlugBoard(sandbox_.dir() / "board");
  // Nobody takes the command, not even on the retry.
  EXPECT_EQ(controller_.Scan(), app::CommandResult::timed_out);
  EXPECT_EQ(view_.boxes, (std::vector<std::string>{"Interrupted data communications."}));
  EXPECT_FALSE(board::GetFlgAppScan());

  // An earlier command still waits: the operation ends without a word.
  view_.boxes.clear();
  board::Link().WriteRequest = board::kMailboxWaiting;
  EXPECT_EQ(controller_.Scan(), app::CommandResult::command_waiting);
  EXPECT_TRUE(view_.boxes.empty());

  // Feed / Stop in the same case gives its own button back.
  EXPECT_EQ(controller_.Feed(), app::CommandResult::command_waiting);
  EXPECT_TRUE(view_.boxes.empty());
  EXPECT_TRUE(view_.enabled(ToolbarButton::feed));
  board::Link().WriteRequest = board::kMailboxEmpty;

  // Feed / Stop names every other failure alike.
  EXPECT_EQ(controller_.Feed(), app::CommandResult::timed_out);
  EXPECT_EQ(view_.boxes, (std::vector<std::string>{"ERROR"}));
}

TEST_F(Commands, OpenFolderOpensAnExistingFolderOrSaysItIsBad) {
  const auto folder = sandbox_.dir() / "pictures";
  std::filesystem::create_directories(folder);
  view_.on_dialog = [&](const app::SettingsDialogValues&) {
    return app::SettingsDialogValues{folder.string(), settings::OutputFormat::png};
  };
  controller_.OpenSettings();
  controller_.OpenFolder();
  EXPECT_EQ(opened_, (std::vector<std::string>{folder.string()}));

  std::filesystem::remove(folder);
  controller_.OpenFolder();
  EXPECT_EQ(opened_.size(), 1u);
  EXPECT_EQ(view_.boxes, (std::vector<std::string>{"Couldn't setup selected folder."}));
}

TEST_F(Commands, HelpOpensTheInstalledPage) {
  ScopedEnv program_files(platform::kProgramFilesVariable, "/opt/pf");
  controller_.ShowHelp();
  // The page is an HTML file on Linux and the compiled help on Windows.
  ASSERT_EQ(opened_.size(), 1u);
  EXPECT_EQ(opened_[0].rfind("/opt/pf", 0), 0u) << opened_[0];
  EXPECT_EQ(std::filesystem::path(opened_[0]).stem(), "TavlixConnect_help");
  EXPECT_TRUE(view_.boxes.empty());
}

// Installed into another folder (/D=), the page beside the program serves;
// the usual place still wins when both hold one.
TEST(HelpPage, UsualPlaceFirstThenBesideTheProgram) {
  const TempDir dir;
  ScopedEnv program_files(platform::kProgramFilesVariable, (dir / "pf").string());
  const std::filesystem::path usual =
      dir / "pf" / "Orvane Tavlix" / "TavlixConnect" / "TavlixConnect_help.html";
  const std::filesystem::path elsewhere = dir / "elsewhere";
  std::filesystem::create_directories(elsewhere);
  EXPECT_EQ(app::HelpDocumentPathBeside(elsewhere), usual) << "no page anywhere: the usual place";
  WriteFile(elsewhere / "TavlixConnect_help.html", "<html></html>");
  EXPECT_EQ(app::HelpDocumentPathBeside(elsewhere), elsewhere / "TavlixConnect_help.html");
  EXPECT_EQ(app::HelpDocumentPathBeside(std::nullopt), usual);
  std::filesystem::create_directories(usual.parent_path());
  WriteFile(usual, "<html></html>");
  EXPECT_EQ(app::HelpDocumentPathBeside(elsewhere), usual);
}

TEST_F(Commands, TrayShowCountsOnlyTheLeftButtonAndTakesTheNotificationsBack) {
  controller_.CloseToolbar();
  board::SetNewHandle(nullptr);
  controller_.TrayShow(false);
  EXPECT_FALSE(view_.shown);
  controller_.TrayShow(true);
  EXPECT_TRUE(view_.shown);
  EXPECT_EQ(board::Link().hWnd_Form.load(), &target_);
}

TEST_F(Commands, ASecondStartShowsTheToolbarWhereTheUserCanSeeIt) {
  controller_.CloseToolbar();
  view_.toolbar = {100, 200, 217, 80};  // dragged there: kept
  controller_.ShowForSecondStart();
  EXPECT_TRUE(view_.shown);
  EXPECT_EQ(view_.toolbar, (app::Rect{100, 200, 217, 80}));
  view_.toolbar = {2000, 200, 217, 80};  // on a screen that went away
  controller_.ShowForSecondStart();
  EXPECT_EQ(view_.toolbar, (app::Rect{1511, 108, 217, 80}));
}

class SettingsCommand : public Commands {
 protected:
  // Opens the dialog; the user changes it to `values` (nullopt: Cancel).
  void Open(const std::optional<app::SettingsDialogValues>& values) {
    view_.on_dialog = [values](const app::SettingsDialogValues&) { return values; };
    controller_.OpenSettings();
  }
  void SetCurrent(const std::string& folder, settings::OutputFormat format) {
    const auto fallback = sandbox_.dir() / "current";
    std::filesystem::create_directories(folder.empty() ? fallback : std::filesystem::path(folder));
    Open(app::SettingsDialogValues{folder.empty() ? fallback.string() : folder, format});
    view_.boxes.clear();
  }
  std::string SavedSettings() const { return ReadText(sandbox_.SettingFile()); }
};

TEST_F(SettingsCommand, FillsAndPlacesTheDialogFromTheCurrentValues) {
  const std::pair<int, settings::OutputFormat> cases[] = {
      {0, settings::OutputFormat::board}, {2, settings::OutputFormat::png}, {7, settings::OutputFormat::png}};
  for (const auto& [code, shown] : cases) {
    SetCurrent("", settings::FormatFromCode(code));
    Open(std::nullopt);
    EXPECT_EQ(view_.dialog_shown->folder, (sandbox_.dir() / "current").string());
    EXPECT_EQ(view_.dialog_shown->format, shown) << code;
  }
  // Under the toolbar while there is room below, at its left edge; above it
  // otherwise.
  view_.toolbar = {40, 50, 217, 80};
  Open(std::nullopt);
  EXPECT_EQ(view_.dialog_at, (app::Point{40, 130}));
  view_.toolbar = {40, 900, 217, 86};
  Open(std::nullopt);
  EXPECT_EQ(view_.dialog_at, (app::Point{40, 639}));
}

TEST_F(SettingsCommand, OkStoresAnAcceptedFolderAndTheFormatAndTellsTheBoardLink) {
  const auto folder = sandbox_.dir() / "chosen";
  std::filesystem::create_directories(folder);
  Open(app::SettingsDialogValues{folder.string(), settings::OutputFormat::jpeg});
  EXPECT_TRUE(view_.boxes.empty());
  EXPECT_EQ(controller_.settings().save_folder, folder.string());
  EXPECT_EQ(controller_.settings().format, settings::OutputFormat::jpeg);
  EXPECT_NE(SavedSettings().find("saveprm=1"), std::string::npos);
}

TEST_F(SettingsCommand, ASettingsFileThatCannotBeWrittenIsReportedAfterOkAndAtExit) {
  std::filesystem::create_directories(sandbox_.SettingFile());  // a folder where the file should go
  const std::string expected =
      "The settings could not be saved in this file:\n" + sandbox_.SettingFile().string();
  Open(app::SettingsDialogValues{sandbox_.dir().path().string(), settings::OutputFormat::png});
  EXPECT_EQ(view_.boxes, std::vector<std::string>{expected});
  controller_.Shutdown();
  EXPECT_EQ(view_.boxes, (std::vector<std::string>{expected, expected}));
}

TEST_F(SettingsCommand, AtTheSessionsEndASettingsFailureRaisesNoBoxButIsReturned) {
  std::filesystem::create_directories(sandbox_.SettingFile());
  EXPECT_EQ(controller_.Shutdown(app::EndReason::session_end),
            "The settings could not be saved in this file:\n" + sandbox_.SettingFile().string());
  EXPECT_TRUE(view_.boxes.empty());
}

TEST_F(SettingsCommand, RejectedFolderOrCancelChangesNothing) {
  const auto good = sandbox_.dir() / "good";
  const auto board = sandbox_.dir() / "board";
  std::filesystem::create_directories(board / "inside");
  SetCurrent(good.string(), settings::OutputFormat::pdf);
  std::filesystem::remove(sandbox_.SettingFile());
  sandbox_.PlugBoard(board);
  const std::string refused[] = {"", (sandbox_.dir() / "missing").string(), (board / "inside").string()};
  for (const std::string& folder : refused) {
    view_.boxes.clear();
    Open(app::SettingsDialogValues{folder, settings::OutputFormat::jpeg});
    EXPECT_EQ(view_.boxes, (std::vector<std::string>{"Couldn't setup selected folder."})) << folder;
    EXPECT_EQ(controller_.settings().save_folder, good.string());
    EXPECT_EQ(controller_.settings().format, settings::OutputFormat::pdf);
  }
  Open(std::nullopt);
  EXPECT_EQ(controller_.settings().format, settings::OutputFormat::pdf);
  EXPECT_FALSE(std::filesystem::exists(sandbox_.SettingFile()));
}

// Another program (the command line) changes the user's file while the
// toolbar runs: the change is taken at the next poll, and the exit write keeps
// even a change made after the last poll.
TEST_F(SettingsCommand, AnotherProgramsChangeIsTakenAndExitDoesNotRevertIt) {
  const auto folder = (sandbox_.dir() / "elsewhere").string();
  std::filesystem::create_directories(folder);
  WriteFile(sandbox_.SettingFile(), "[setting]\nsaveprm=1\nsavepath=" + folder + "\n");
  EXPECT_FALSE(controller_.TakeOutsideSettings()) << "not before a poll is due";
  sandbox_.clock().Advance(app::kSettingsPoll);
  controller_.KeepCollecting();
  EXPECT_EQ(controller_.settings().format, settings::OutputFormat::jpeg);
  EXPECT_EQ(controller_.settings().save_folder, folder);

  WriteFile(sandbox_.SettingFile(), "[setting]\nsaveprm=3\nsavepath=" + folder + "\n");
  controller_.Shutdown();
  EXPECT_EQ(SavedSettings(), "[setting]\nsaveprm=3\nsavepath=" + folder + "\n");
}

// The board is looked up only after the folder's own checks: a bad folder
// shows its box without a board balloon before it.
TEST_F(SettingsCommand, ABadFolderNeverLooksTheBoardUp) {
  const auto board = sandbox_.dir() / "board";
  std::filesystem::create_directories(board);
  sandbox_.PlugBoard(board);
  std::vector<int> codes;
  target_.on_note = [&](const Note& note) { codes.push_back(note.code); };
  Open(app::SettingsDialogValues{(sandbox_.dir() / "missing").string(), settings::OutputFormat::png});
  EXPECT_TRUE(codes.empty());
  Open(app::SettingsDialogValues{(board / "").string(), settings::OutputFormat::png});
  EXPECT_EQ(codes, std::vector<int>{board::BOARD_FOUND}) << "the look-up of a good folder finds the board";
}

TEST_F(Commands, ButtonPicturesFollowTheMouseAndTheBoard) {
  auto pictures = [&](ToolbarButton button) {
    std::vector<int> shown;
    for (const app::ButtonMouse event :
         {app::ButtonMouse::hover, app::ButtonMouse::down, app::ButtonMouse::up, app::ButtonMouse::leave}) {
      controller_.ButtonMouseEvent(button, event);
      shown.push_back(view_.pictures[button]);
    }
    return shown;
  };
  EXPECT_EQ(pictures(ToolbarButton::scan), (std::vector<int>{112, 112, 112, 112}));
  EXPECT_EQ(pictures(ToolbarButton::help), (std::vector<int>{108, 107, 106, 106}));
  SetBoardPresent(true);
  EXPECT_EQ(pictures(ToolbarButton::feed), (std::vector<int>{115, 114, 117, 117}));
  EXPECT_EQ(pictures(ToolbarButton::close), (std::vector<int>{104, 103, 102, 102}));
  EXPECT_EQ(pictures(ToolbarButton::folder_open), (std::vector<int>{119, 118, 121, 121}));
  EXPECT_EQ(pictures(ToolbarButton::setting_open), (std::vector<int>{123, 122, 125, 125}));
  // A disabled button keeps its picture.
  Notify(board::BOARD_JOB_BEGIN);
  EXPECT_EQ(pictures(ToolbarButton::scan), (std::vector<int>{112, 112, 112, 112}));
}

TEST_F(Commands, TitleDragMovesTheWindowByThePointersTravel) {
  view_.toolbar = {300, 200, 217, 80};
  controller_.TitleMouseDown(true, {10, 5});
  controller_.TitleMouseMove(true, {30, 2});
  EXPECT_EQ(view_.toolbar, (app::Rect{320, 197, 217, 80}));
  // Without the left button held nothing moves; a right press grabs nothing.
  controller_.TitleMouseMove(false, {50, 50});
  controller_.TitleMouseDown(false, {0, 0});
  controller_.TitleMouseMove(true, {30, 2});
  EXPECT_EQ(view_.toolbar, (app::Rect{340, 194, 217, 80}));
}

}  // namespace
}  // namespace tavlix::test
