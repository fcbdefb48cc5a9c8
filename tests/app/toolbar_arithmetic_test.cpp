#include <gtest/gtest.h>

#include "app/button_pictures.h"
#include "app/detection_text.h"
#include "app/toolbar_geometry.h"
#include "settings/localised_text_table.h"

namespace tavlix::app {
namespace {

TEST(ProgressStrip, BarGrowsInFivePixelStepsAndFillsFromAHundred) {
  const std::pair<int, int> widths[] = {{-1, 0},   {0, 0},    {1, 0},     {2, 0},     {3, 5},        {10, 20},
                                        {50, 105}, {99, 210}, {100, 213}, {250, 213}, {1 << 30, 213}};
  for (const auto& [p, width] : widths) EXPECT_EQ(ProgressStripFor(p).bar_width, width) << "p " << p;
  for (const int p : {1, 50, 99, 100}) EXPECT_EQ(ProgressStripFor(p).window_height, 86) << p;
  for (const int p : {-1, 0}) EXPECT_EQ(ProgressStripFor(p), (ProgressStrip{p, 80, 0, false})) << p;
}

TEST(Placement, ToolbarNearTheTopRightAndDialogBelowOrAbove) {
  EXPECT_EQ(ToolbarPlacement({0, 0, 1920, 1080}, 217), (Point{1511, 108}));
  EXPECT_EQ(ToolbarPlacement({0, 0, 1280, 1024}, 217), (Point{935, 102}));

  // Below while the toolbar's bottom is at most 8/10 of the desktop (864).
  const Rect desktop{0, 0, 1920, 1080};
  EXPECT_EQ(SettingDialogPlacement({1511, 784, 217, 80}, 300, desktop), (Point{1511, 864}));
  EXPECT_EQ(SettingDialogPlacement({1511, 785, 217, 80}, 300, desktop), (Point{1511, 485}));
}

TEST(Placement, TitleDragKeepsTheGrabPointUnderThePointer) {
  EXPECT_EQ(DraggedPosition({500, 300}, {10, 5}, {30, 2}), (Point{520, 297}));
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

std::vector<platform::DriveInfo> Drives(std::initializer_list<const char*> names) {
  std::vector<platform::DriveInfo> drives;
  for (const char* name : names) drives.push_back({name, std::string(name) + ":\\", {}, {}, {}});
  return drives;
}

TEST(DetectionText, NamesTheModelRowAndThePresentDriveAtThePosition) {
  settings::LocalisedTexts texts;
  for (const settings::LocTextEntry& entry : settings::LocTextTable())
    texts.*entry.field = std::string(entry.default_text);
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
  settings::LocalisedTexts texts;
  texts.message_detecttv = "Board!";
  texts.message_detecttv_device = "Model";
  texts.message_detecttv_drive = "";
  EXPECT_EQ(DetectionText(2 * 16 + 7, texts, Drives({"/", "/media/x", "/media/board"})),
            "Board!\nModel:T-60\n:/media/board");
}

}  // namespace
}  // namespace tavlix::app
