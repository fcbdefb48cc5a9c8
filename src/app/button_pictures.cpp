#include "app/button_pictures.h"

namespace tavlix::app {

const ButtonBitmaps& BitmapsOf(ToolbarButton button) {
  switch (button) {
    case ToolbarButton::scan: return kScanBitmaps;
    case ToolbarButton::feed: return kFeedBitmaps;
    case ToolbarButton::folder_open: return kFolderBitmaps;
    case ToolbarButton::setting_open: return kSettingBitmaps;
    case ToolbarButton::help: return kHelpBitmaps;
    case ToolbarButton::close: break;
  }
  return kCloseBitmaps;
}

int PictureFor(const ButtonBitmaps& bitmaps, ButtonMouse event, bool board_present) {
  if (!board_present && bitmaps.disabled != 0) return bitmaps.disabled;
  switch (event) {
    case ButtonMouse::hover: return bitmaps.hover;
    case ButtonMouse::down: return bitmaps.pressed;
    case ButtonMouse::up:
    case ButtonMouse::leave: break;
  }
  return bitmaps.normal;
}

}  // namespace tavlix::app
