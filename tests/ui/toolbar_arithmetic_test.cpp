#include <gtest/gtest.h>

#include "settings/localised_texts.h"
#include "ui/button_pictures.h"
#include "ui/detection_text.h"
#include "ui/form_setting.h"
#include "ui/toolbar_geometry.h"
#include "ui_fixture.h"

namespace TavlixSoft {
namespace {

TEST(ProgressStrip, BarGrowsInFivePixelStepsAndFillsFromAHundred) {
  const std::pair<int, int> widths[] = {{-1, 0},   {0, 0},    {1, 0},     {2, 0},     {3, 5},        {10, 20},
                                        {50, 105}, {99, 210}, {100, 213}, {250, 213}, {1 << 30, 213}};
  for (const auto& [p, width] : widths) EXPECT_EQ(ProgressBarWidth(p), width) << "p " << p;
  for (const int p : {1, 50, 99}) EXPECT_EQ(ToolbarHeightFor(p), 86) << p;
  for (const int p : {-1, 0, 100, 101}) EXPECT_EQ(ToolbarHeightFor(p), 80) << p;
}

TEST(Placement, ToolbarNearTheTopRightAndDialogBelowOrAbove) {
  EXPECT_EQ(ToolbarPlacement(1920, 1080, 217), QPoint(1511, 108));
  EXPECT_EQ(ToolbarPlacement(1280, 1024, 217), QPoint(935, 102));

  // Below while the toolbar's bottom is at most 8/10 of the desktop (864).
  EXPECT_EQ(SettingDialogPlacement(QRect(1511, 784, 217, 80), 300, 1080), QPoint(1511, 864));
  EXPECT_EQ(SettingDialogPlacement(QRect(1511, 785, 217, 80), 300, 1080), QPoint(1511, 485));
  EXPECT_EQ(SettingDialogPlacement(QRect(10, 900, 217, 86), 261, 1080), QPoint(10, 639));
}

TEST(Placement, TitleDragKeepsTheGrabPointUnderThePointer) {
  EXPECT_EQ(DraggedPosition(QPoint(500, 300), QPoint(10, 5), QPoint(30, 2)), QPoint(520, 297));
}

TEST(ButtonPictures, BoardAbsentGreysOnlyScanAndFeed) {
  const ButtonMouse events[] = {ButtonMouse::hover, ButtonMouse::down, ButtonMouse::up, ButtonMouse::leave};
  std::vector<int> scan_present, scan_absent, help_absent;
  for (const ButtonMouse e : events) {
    scan_present.push_back(PictureFor(kScanBitmaps, e, true));
    scan_absent.push_back(PictureFor(kScanBitmaps, e, false));
    help_absent.push_back(PictureFor(kHelpBitmaps, e, false));
  }
  EXPECT_EQ(scan_present, (std::vector<int>{111, 110, 113, 113}));
  EXPECT_EQ(scan_absent, (std::vector<int>{112, 112, 112, 112}));
  EXPECT_EQ(help_absent, (std::vector<int>{108, 107, 106, 106}));
  EXPECT_EQ(PictureFor(kFeedBitmaps, ButtonMouse::down, false), 116);
  EXPECT_EQ(PictureFor(kCloseBitmaps, ButtonMouse::hover, false), 104);
}

TEST(FormatChoice, CodesMapToChoicesAndBack) {
  for (const int code : {0, 1, 2, 3}) EXPECT_EQ(FormatCodeFromChoice(ChoiceForFormatCode(code)), code);
  for (const int code : {-1, 4, 7, 1000})
    EXPECT_EQ(FormatCodeFromChoice(ChoiceForFormatCode(code)), 2) << code;
  EXPECT_EQ(FormatCodeFromChoice({}), 0);
  // The first checked choice wins, in the order board, JPEG, PNG, PDF.
  EXPECT_EQ(FormatCodeFromChoice({false, false, true, true}), 2);
  EXPECT_EQ(FormatCodeFromChoice({true, true, false, false}), 0);
}

std::vector<tavlix::platform::DriveInfo> Drives(std::initializer_list<const char*> names) {
  std::vector<tavlix::platform::DriveInfo> drives;
  for (const char* name : names) drives.push_back({name, std::string(name) + ":\\", {}, {}, {}});
  return drives;
}

TEST(DetectionText, NamesTheModelRowAndThePresentDriveAtThePosition) {
  const auto texts = tavlix::test::DefaultTexts();
  const auto ace = Drives({"A", "C", "E"});
  EXPECT_EQ(DetectionText(33, texts, ace), "Detect tavlix.\ndevice:R-71\ndrive:E");
  EXPECT_EQ(DetectionText(16 + 12, texts, ace), "Detect tavlix.\ndevice:R-724\ndrive:C");
  for (const int row : {0, 13, 14, 15})
    EXPECT_EQ(DetectionText(row, texts, ace), "Detect tavlix.\ndevice:Other\ndrive:A") << row;
  // The position wraps at 26; a drive that went away meanwhile shows "?".
  EXPECT_EQ(DetectionText((26 + 1) * 16 + 3, texts, ace), "Detect tavlix.\ndevice:R-61\ndrive:C");
  EXPECT_EQ(DetectionText(5 * 16 + 3, texts, ace), "Detect tavlix.\ndevice:R-61\ndrive:?");
}

TEST(DetectionText, UsesTheLocalisedLabels) {
  tavlix::settings::LocalisedTexts texts;
  texts.message_detecttv = "Board!";
  texts.message_detecttv_device = "Model";
  texts.message_detecttv_drive = "";
  EXPECT_EQ(DetectionText(2 * 16 + 7, texts, Drives({"/", "/media/x", "/media/board"})),
            "Board!\nModel:T-60\n:/media/board");
}

}  // namespace
}  // namespace TavlixSoft
