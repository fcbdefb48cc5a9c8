// The Qt toolbar as a view of the controller: what its widgets show, how the
// settings dialog is filled and read, and how mouse events reach the
// controller. The behaviour itself is tested with the controller (tests/app).
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>

#include "board/driver_facade.h"
#include "board/link_state.h"
#include "ui_fixture.h"
#include "ui_qt/image_button.h"
#include "ui_qt/setting_dialog.h"

namespace tavlix::test {
namespace {

using tavlix::ui_qt::Form1;

class View : public ToolbarTest {
 protected:
  void SetUp() override {
    form_ = MakeForm();
    form_->Form1_Load();
    board::ResetDriverForTests();  // the worker is not needed: the link's state is set by hand
  }
  bool StripUncovered() const { return form_->pictureBox_progress_bg->autoFillBackground(); }

  std::unique_ptr<Form1> form_;
};

TEST_F(View, ProgressStripUncoversBelowTheBodyAndCoversAgain) {
  EXPECT_EQ(form_->size(), QSize(217, 80));
  EXPECT_FALSE(StripUncovered());
  const QPoint where = form_->pos();
  form_->WndProc(board::BOARD_PROGRESS, 50);
  EXPECT_EQ(form_->size(), QSize(217, 86));
  EXPECT_EQ(form_->pictureBox_progress_bar->geometry(), QRect(2, 80, 105, 5));
  EXPECT_TRUE(StripUncovered());
  EXPECT_EQ(form_->pictureBox_progress_bg->palette().color(QPalette::Window), QColor(Qt::white));
  EXPECT_EQ(form_->pictureBox_progress_bar->palette().color(QPalette::Window), QColor(0, 0, 255));
  EXPECT_EQ(form_->pos(), where);  // grows at its bottom edge
  form_->WndProc(board::BOARD_PROGRESS, -1);
  EXPECT_EQ(form_->height(), 80);
  EXPECT_EQ(form_->pictureBox_progress_bar->width(), 0);
  EXPECT_FALSE(StripUncovered());
}

TEST_F(View, ButtonLooksAreTheirBitmapsAndTheirEnabledState) {
  form_->WndProc(board::BOARD_JOB_BEGIN, 1);
  EXPECT_EQ(form_->button_usb_scan->bitmap(), 112);
  EXPECT_FALSE(form_->button_usb_scan->isEnabled());
  EXPECT_EQ(form_->button_usb_feed->bitmap(), 116);
  EXPECT_FALSE(form_->button_usb_feed->isEnabled());
  form_->WndProc(board::BOARD_FOUND, 1);
  EXPECT_EQ(form_->button_usb_scan->bitmap(), 113);
  EXPECT_TRUE(form_->button_usb_feed->isEnabled());
}

TEST_F(View, SettingsDialogIsFilledFromTheValuesAndReadBack) {
  const auto folder = sandbox_.dir() / "chosen";
  std::filesystem::create_directories(folder);
  tavlix::ui_qt::FormSetting& dialog = *form_->FormSettingObj;
  tavlix::ui_qt::FormatChoice shown;
  presenter_.on_modal = [&](QDialog&) {
    shown = dialog.Choice();
    dialog.textBox_FilePath_SaveTo->setText(QString::fromStdString(folder.string()));
    dialog.radioButton_FileExt_Jpg->setChecked(true);
    return QDialog::Accepted;
  };
  form_->button_setting_open->click();
  EXPECT_TRUE(shown.png);  // the default format
  EXPECT_EQ(form_->controller().settings().save_folder, folder.string());
  EXPECT_EQ(form_->controller().settings().format, settings::OutputFormat::jpeg);
  EXPECT_EQ(dialog.pos(), QPoint(form_->x(), form_->y() + form_->height()));
}

TEST(FormatChoice, FormatsMapToChoicesAndBack) {
  using tavlix::ui_qt::ChoiceForFormat;
  using tavlix::ui_qt::FormatFromChoice;
  for (const int code : {0, 1, 2, 3})
    EXPECT_EQ(FormatFromChoice(ChoiceForFormat(settings::FormatFromCode(code))),
              settings::FormatFromCode(code));
  for (const int code : {-1, 4, 7, 1000})
    EXPECT_EQ(FormatFromChoice(ChoiceForFormat(settings::FormatFromCode(code))), settings::OutputFormat::png)
        << code;
  EXPECT_EQ(FormatFromChoice({}), settings::OutputFormat::board);
  // The first checked choice wins, in the order board, JPEG, PNG, PDF.
  EXPECT_EQ(FormatFromChoice({false, false, true, true}), settings::OutputFormat::png);
  EXPECT_EQ(FormatFromChoice({true, true, false, false}), settings::OutputFormat::board);
}

TEST_F(View, EscapeDoesNotCloseTheSettingsDialog) {
  tavlix::ui_qt::FormSetting& dialog = *form_->FormSettingObj;
  dialog.show();
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QCoreApplication::sendEvent(&dialog, &escape);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), 0);
  dialog.hide();
}

TEST_F(View, BrowsePutsTheChosenFolderInTheTextBoxOnlyWhenConfirmed) {
  tavlix::ui_qt::FormSetting& dialog = *form_->FormSettingObj;
  dialog.textBox_FilePath_SaveTo->setText("/before");
  presenter_.browse_result = std::nullopt;
  dialog.button_FilePath_SaveTo_Click();
  EXPECT_EQ(dialog.textBox_FilePath_SaveTo->text(), QString("/before"));
  presenter_.browse_result = QString("/picked");
  dialog.button_FilePath_SaveTo_Click();
  EXPECT_EQ(dialog.textBox_FilePath_SaveTo->text(), QString("/picked"));
  EXPECT_EQ(presenter_.browse_descriptions, (std::vector<std::string>{"Select Folder", "Select Folder"}));
}

void Send(QWidget* widget, QEvent::Type type, QPoint at = {3, 3}, Qt::MouseButton button = Qt::LeftButton,
          Qt::MouseButtons held = Qt::LeftButton) {
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

// The hover picture waits for the pointer to rest; a short rest here.
TEST(ViewMouse, HoverPictureShowsOnlyAfterThePointerRests) {
  EnsureApplication();
  board::ResetDriverForTests();
  SettingsSandbox sandbox;
  RecordingPresenter presenter;
  Form1 form({&presenter, true, false, 30});
  form.Form1_Load();
  board::ResetDriverForTests();
  board::Link().Connected = true;
  form.show();
  Send(form.button_help, QEvent::Enter);
  EXPECT_EQ(form.button_help->bitmap(), 106) << "not on entering";
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (form.button_help->bitmap() == 106 && std::chrono::steady_clock::now() < give_up)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  EXPECT_EQ(form.button_help->bitmap(), 108);
  Send(form.button_help, QEvent::MouseButtonPress);
  EXPECT_EQ(form.button_help->bitmap(), 107);
  Send(form.button_help, QEvent::MouseButtonRelease);
  EXPECT_EQ(form.button_help->bitmap(), 106);
  // Leaving before the rest is over shows no hover picture.
  Send(form.button_usb_scan, QEvent::Enter);
  Send(form.button_usb_scan, QEvent::Leave);
  const auto rested = std::chrono::steady_clock::now() + std::chrono::milliseconds(60);
  while (std::chrono::steady_clock::now() < rested) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  EXPECT_EQ(form.button_usb_scan->bitmap(), 113);
  form.close();
  board::ResetDriverForTests();
}

TEST_F(View, TitleDragMovesTheWindowByThePointersTravel) {
  form_->move(300, 200);
  Send(form_->pictureBox_title, QEvent::MouseButtonPress, {10, 5});
  Send(form_->pictureBox_title, QEvent::MouseMove, {30, 2}, Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(form_->pos(), QPoint(320, 197));
  Send(form_->pictureBox_title, QEvent::MouseMove, {50, 50}, Qt::NoButton, Qt::NoButton);
  EXPECT_EQ(form_->pos(), QPoint(320, 197));
}

}  // namespace
}  // namespace tavlix::test
