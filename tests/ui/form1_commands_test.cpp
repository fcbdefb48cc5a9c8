// The toolbar's commands, through their handlers, with the board link's state
// set by hand and the clock virtual.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QEnterEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>

#include "board/collector_lock.h"
#include "board/drive_discovery.h"
#include "board/driver_facade.h"
#include "board/link_state.h"
#include "platform/shell.h"
#include "support/temp_dir.h"
#include "ui/form_setting.h"
#include "ui/help_page.h"
#include "ui/image_button.h"
#include "ui_fixture.h"

namespace tavlix::test {
namespace {

using TavlixSoft::Form1;

class Commands : public ToolbarTest {
 protected:
  void SetUp() override {
    platform::SetShellOpenHook([this](const std::filesystem::path& p) {
      opened_.push_back(p.string());
      return true;
    });
    form_ = MakeForm();
    form_->Form1_Load();
    ResetDriverForTests();  // the worker is not needed: the link's state is set by hand
    form_->Loc = DefaultTexts();
  }

  std::unique_ptr<Form1> form_;
  std::vector<std::string> opened_;
};

TEST_F(Commands, ScanWithoutABoardWaitsHalfASecondAndSaysSo) {
  const auto slept = sandbox_.clock().TotalSlept();
  form_->button_usb_scan_Click();
  EXPECT_EQ(sandbox_.clock().TotalSlept() - slept, std::chrono::milliseconds(500));
  EXPECT_EQ(presenter_.boxes, (std::vector<std::string>{"Obtaining annotated image failed"}));
  EXPECT_FALSE(form_->button_usb_scan->isEnabled());
}

TEST_F(Commands, ABoardAnotherCollectorHoldsIsLeftAloneAndScanSaysWhoHasIt) {
  const auto board = sandbox_.dir() / "board";
  std::filesystem::create_directories(board);
  sandbox_.PlugBoard(board);
  std::string model, root;
  ASSERT_TRUE(GetTargetDrive(model, root));
  std::optional<platform::ProcessLock> other =
      platform::ProcessLock::TryTake(CollectorLockName(root), "tavlix watch");
  ASSERT_TRUE(other->held()) << other->error();
  form_->button_usb_scan_Click();
  EXPECT_EQ(presenter_.boxes,
            (std::vector<std::string>{"Another program is already collecting the pictures of the "
                                      "board:\ntavlix watch (process " +
                                      std::to_string(::getpid()) + ")"}));
  EXPECT_FALSE(form_->collecting());
  EXPECT_FALSE(std::filesystem::exists(board / "cmd"));
  other.reset();
  form_->KeepCollecting();
  EXPECT_TRUE(form_->collecting());
  EXPECT_EQ(presenter_.boxes.size(), 1u);
}

TEST_F(Commands, ScanHandOverFailuresShowTheirTexts) {
  SetBoardPresent(true);
  sandbox_.PlugBoard(sandbox_.dir() / "board");
  std::filesystem::create_directories(sandbox_.dir() / "board");
  // Nobody takes the command, not even on the retry.
  form_->button_usb_scan_Click();
  EXPECT_EQ(presenter_.boxes, (std::vector<std::string>{"Interrupted data communications."}));

  // An earlier command still waits: the operation ends without a word.
  presenter_.boxes.clear();
  Link().WriteRequest = kMailboxWaiting;
  form_->button_usb_scan_Click();
  EXPECT_TRUE(presenter_.boxes.empty());

  // Feed / Stop in the same case gives its own button back.
  form_->button_usb_feed_Click();
  EXPECT_TRUE(presenter_.boxes.empty());
  EXPECT_TRUE(form_->button_usb_feed->isEnabled());
  Link().WriteRequest = kMailboxEmpty;
}

TEST_F(Commands, OpenFolderOpensAnExistingFolderOrSaysItIsBad) {
  const auto folder = sandbox_.dir() / "pictures";
  std::filesystem::create_directories(folder);
  form_->Setting_ImgSaveTo_FolderPath = folder.string();
  form_->button_folder_open_Click();
  EXPECT_EQ(opened_, (std::vector<std::string>{folder.string()}));

  std::filesystem::remove(folder);
  form_->button_folder_open_Click();
  EXPECT_EQ(opened_.size(), 1u);
  EXPECT_EQ(presenter_.boxes, (std::vector<std::string>{"Couldn't setup selected folder."}));
}

TEST_F(Commands, HelpOpensTheInstalledPage) {
  ScopedEnv program_files(platform::kProgramFilesVariable, "/opt/pf");
  form_->button_help_Click();
  form_->ToolStripMenuItem_help_Click();
  const std::string page = "/opt/pf/Orvane Tavlix/TavlixConnect/TavlixConnect_help.html";
  EXPECT_EQ(opened_, (std::vector<std::string>{page, page}));
  EXPECT_TRUE(presenter_.boxes.empty());
}

class SettingsCommand : public Commands {
 protected:
  // Opens the dialog; `edit` changes it as the user would, then OK or Cancel.
  void Open(std::function<void(TavlixSoft::FormSetting&)> edit, bool ok) {
    presenter_.on_modal = [&](QDialog& dialog) {
      auto& form = dynamic_cast<TavlixSoft::FormSetting&>(dialog);
      shown_folder_ = form.textBox_FilePath_SaveTo->text().toStdString();
      shown_choice_ = form.Choice();
      shown_at_ = form.pos();
      if (edit) edit(form);
      return ok ? QDialog::Accepted : QDialog::Rejected;
    };
    form_->button_setting_open_Click();
  }
  std::string SavedSettings() const { return ReadText(sandbox_.SettingFile()); }

  std::string shown_folder_;
  TavlixSoft::FormatChoice shown_choice_;
  QPoint shown_at_;
};

TEST_F(SettingsCommand, FillsTheDialogFromTheCurrentValues) {
  form_->Setting_ImgSaveTo_FolderPath = "/some/where";
  const std::pair<int, TavlixSoft::FormatChoice> cases[] = {
      {0, {true, false, false, false}}, {2, {false, false, true, false}}, {7, {false, false, true, false}}};
  for (const auto& [code, choice] : cases) {
    form_->Setting_SavePrm = code;
    Open(nullptr, false);
    EXPECT_EQ(shown_folder_, "/some/where");
    EXPECT_EQ(TavlixSoft::FormatCodeFromChoice(shown_choice_), TavlixSoft::FormatCodeFromChoice(choice))
        << code;
    EXPECT_EQ(shown_choice_.png, choice.png) << code;
  }
  // Under the toolbar while there is room below, at its left edge.
  form_->move(40, 50);
  Open(nullptr, false);
  EXPECT_EQ(shown_at_, QPoint(40, 50 + form_->height()));
}

TEST_F(SettingsCommand, OkStoresAnAcceptedFolderAndTheFormat) {
  const auto folder = sandbox_.dir() / "chosen";
  std::filesystem::create_directories(folder);
  form_->Setting_SavePrm = 7;
  Open(
      [&](TavlixSoft::FormSetting& d) { d.textBox_FilePath_SaveTo->setText(QString::fromStdString(folder)); },
      true);
  EXPECT_TRUE(presenter_.boxes.empty());
  EXPECT_EQ(form_->Setting_ImgSaveTo_FolderPath, folder.string());
  EXPECT_EQ(form_->Setting_SavePrm, 2);
  EXPECT_NE(SavedSettings().find("saveprm=2"), std::string::npos);

  // Code 0 survives OK when the user picks nothing.
  form_->Setting_SavePrm = 0;
  Open(nullptr, true);
  EXPECT_EQ(form_->Setting_SavePrm, 0);
  Open([](TavlixSoft::FormSetting& d) { d.radioButton_FileExt_Jpg->setChecked(true); }, true);
  EXPECT_EQ(form_->Setting_SavePrm, 1);
  EXPECT_NE(SavedSettings().find("saveprm=1"), std::string::npos);
}

TEST_F(SettingsCommand, ASettingsFileThatCannotBeWrittenIsReportedAfterOkAndAtExit) {
  std::filesystem::create_directories(sandbox_.SettingFile());  // a folder where the file should go
  form_->Setting_ImgSaveTo_FolderPath = sandbox_.dir().path().string();
  const std::string expected =
      "The settings could not be saved in this file:\n" + sandbox_.SettingFile().string();
  Open(nullptr, true);
  EXPECT_EQ(presenter_.boxes, std::vector<std::string>{expected});
  form_->Dispose();
  EXPECT_EQ(presenter_.boxes, (std::vector<std::string>{expected, expected}));
}

TEST_F(SettingsCommand, RejectedFolderOrCancelChangesNothing) {
  const auto good = sandbox_.dir() / "good";
  const auto board = sandbox_.dir() / "board";
  std::filesystem::create_directories(good);
  std::filesystem::create_directories(board / "inside");
  sandbox_.PlugBoard(board);
  form_->Setting_ImgSaveTo_FolderPath = good.string();
  form_->Setting_SavePrm = 3;
  const std::string refused[] = {"", (sandbox_.dir() / "missing").string(), (board / "inside").string()};
  for (const std::string& folder : refused) {
    presenter_.boxes.clear();
    Open(
        [&](TavlixSoft::FormSetting& d) {
          d.textBox_FilePath_SaveTo->setText(QString::fromStdString(folder));
          d.radioButton_FileExt_Jpg->setChecked(true);
        },
        true);
    EXPECT_EQ(presenter_.boxes, (std::vector<std::string>{"Couldn't setup selected folder."})) << folder;
    EXPECT_EQ(form_->Setting_ImgSaveTo_FolderPath, good.string());
    EXPECT_EQ(form_->Setting_SavePrm, 3);
  }
  Open([&](TavlixSoft::FormSetting& d) { d.radioButton_FileExt_Jpg->setChecked(true); }, false);
  EXPECT_EQ(form_->Setting_SavePrm, 3);
  EXPECT_FALSE(std::filesystem::exists(sandbox_.SettingFile()));
  // The next opening shows the kept values again.
  Open(nullptr, false);
  EXPECT_EQ(shown_folder_, good.string());
  EXPECT_TRUE(shown_choice_.pdf);
}

TEST_F(SettingsCommand, BrowsePutsTheChosenFolderInTheTextBoxOnlyWhenConfirmed) {
  TavlixSoft::FormSetting& dialog = *form_->FormSettingObj;
  dialog.textBox_FilePath_SaveTo->setText("/before");
  presenter_.browse_result = std::nullopt;
  dialog.button_FilePath_SaveTo_Click();
  EXPECT_EQ(dialog.textBox_FilePath_SaveTo->text(), QString("/before"));
  presenter_.browse_result = QString("/picked");
  dialog.button_FilePath_SaveTo_Click();
  EXPECT_EQ(dialog.textBox_FilePath_SaveTo->text(), QString("/picked"));
  EXPECT_EQ(presenter_.browse_descriptions, (std::vector<std::string>{"Select Folder", "Select Folder"}));
}

class Mouse : public Commands {
 protected:
  static void Send(QWidget* widget, QEvent::Type type, QPoint at = {3, 3},
                   Qt::MouseButton button = Qt::LeftButton, Qt::MouseButtons held = Qt::LeftButton) {
    if (type == QEvent::Enter) {
      QEnterEvent event(at, widget->mapToGlobal(at), widget->mapToGlobal(at));
      QCoreApplication::sendEvent(widget, &event);
    } else if (type == QEvent::Leave) {
      QEvent event(QEvent::Leave);
      QCoreApplication::sendEvent(widget, &event);
    } else {
      QMouseEvent event(type, at, widget->mapToGlobal(at), button, held, Qt::NoModifier);
      QCoreApplication::sendEvent(widget, &event);
    }
  }
  std::vector<int> Pictures(TavlixSoft::ImageButton* button) {
    std::vector<int> shown;
    for (const QEvent::Type type :
         {QEvent::Enter, QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::Leave}) {
      Send(button, type);
      shown.push_back(button->bitmap());
    }
    return shown;
  }
};

TEST_F(Mouse, ButtonPicturesFollowTheMouseAndTheBoard) {
  form_->show();
  EXPECT_EQ(Pictures(form_->button_usb_scan), (std::vector<int>{112, 112, 112, 112}));
  EXPECT_EQ(Pictures(form_->button_help), (std::vector<int>{108, 107, 106, 106}));
  SetBoardPresent(true);
  EXPECT_EQ(Pictures(form_->button_usb_feed), (std::vector<int>{115, 114, 117, 117}));
  EXPECT_EQ(Pictures(form_->button_close), (std::vector<int>{104, 103, 102, 102}));
  // A disabled button keeps its picture.
  form_->WndProc(BOARD_JOB_BEGIN, 1);
  EXPECT_EQ(Pictures(form_->button_usb_scan), (std::vector<int>{112, 112, 112, 112}));
}

TEST_F(Mouse, TitleDragMovesTheWindowByThePointersTravel) {
  form_->move(300, 200);
  Send(form_->pictureBox_title, QEvent::MouseButtonPress, {10, 5});
  Send(form_->pictureBox_title, QEvent::MouseMove, {30, 2}, Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(form_->pos(), QPoint(320, 197));
  // Without the left button held nothing moves.
  Send(form_->pictureBox_title, QEvent::MouseMove, {50, 50}, Qt::NoButton, Qt::NoButton);
  EXPECT_EQ(form_->pos(), QPoint(320, 197));
}

}  // namespace
}  // namespace tavlix::test
