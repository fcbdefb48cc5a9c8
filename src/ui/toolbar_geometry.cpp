#include "ui/toolbar_geometry.h"

namespace TavlixSoft {

int ProgressBarWidth(int p) {
  if (p >= 100) return kProgressStripWidth;
  if (p <= 0) return 0;
  return (p * kProgressStripWidth / 500) * 5;
}

int ToolbarHeightFor(int p) {
  return p >= 1 && p <= 99 ? kToolbarProgressHeight : kToolbarHeight;
}

QPoint ToolbarPlacement(int desktop_right, int desktop_bottom, int toolbar_width) {
  return {desktop_right * 9 / 10 - toolbar_width, desktop_bottom / 10};
}

QPoint SettingDialogPlacement(const QRect& toolbar, int dialog_height, int desktop_bottom) {
  const int toolbar_bottom = toolbar.y() + toolbar.height();
  if (toolbar_bottom <= desktop_bottom * 8 / 10) return {toolbar.x(), toolbar_bottom};
  return {toolbar.x(), toolbar.y() - dialog_height};
}

QPoint DraggedPosition(QPoint window, QPoint grab, QPoint pointer) {
  return window + (pointer - grab);
}

}  // namespace TavlixSoft
