#include "app/toolbar_geometry.h"

namespace tavlix::app {

ProgressStrip ProgressStripFor(int percent) {
  if (percent >= 100) return {percent, kToolbarProgressHeight, kProgressStripWidth, true};
  if (percent <= 0) return {percent, kToolbarHeight, 0, false};
  return {percent, kToolbarProgressHeight, (percent * kProgressStripWidth / 500) * 5, true};
}

Point ToolbarPlacement(const Rect& desktop, int toolbar_width) {
  return {desktop.right() * 9 / 10 - toolbar_width, desktop.bottom() / 10};
}

Point SettingDialogPlacement(const Rect& toolbar, int dialog_height, const Rect& desktop) {
  if (toolbar.bottom() <= desktop.bottom() * 8 / 10) return {toolbar.x, toolbar.bottom()};
  return {toolbar.x, toolbar.y - dialog_height};
}

Point DraggedPosition(Point window, Point grab, Point pointer) {
  return {window.x + pointer.x - grab.x, window.y + pointer.y - grab.y};
}

}  // namespace tavlix::app
