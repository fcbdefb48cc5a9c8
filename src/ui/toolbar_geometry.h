// The toolbar's arithmetic: the progress strip's size, where the toolbar and
// the settings dialog go, and how a title drag moves the window. Integer
// arithmetic with truncating division, as the layout was designed. Pure.
#pragma once

#include <QPoint>
#include <QRect>

namespace TavlixSoft {

inline constexpr int kToolbarWidth = 217;
inline constexpr int kToolbarHeight = 80;          // the strip hidden below
inline constexpr int kToolbarProgressHeight = 86;  // the strip uncovered
inline constexpr int kProgressStripWidth = 213;

// The bar for progress `p`: 0 for p <= 0, (p * 213 / 500) * 5 for 1..99 (steps
// of 5 pixels), the full 213 from 100 on.
int ProgressBarWidth(int p);
// 86 while progress 1..99 is shown, 80 otherwise.
int ToolbarHeightFor(int p);

// Near the top right corner of a desktop whose right and bottom edges are
// given: x = right * 9 / 10 - width, y = bottom / 10.
QPoint ToolbarPlacement(int desktop_right, int desktop_bottom, int toolbar_width);

// The settings dialog's top-left corner: at the toolbar's left edge, below it
// when the toolbar's bottom edge is at most 8/10 of the desktop's bottom edge,
// otherwise above it with the dialog's bottom edge at the toolbar's top.
QPoint SettingDialogPlacement(const QRect& toolbar, int dialog_height, int desktop_bottom);

// The window's new position when the title strip, grabbed at `grab`, is under
// the pointer at `pointer` (both relative to the strip).
QPoint DraggedPosition(QPoint window, QPoint grab, QPoint pointer);

}  // namespace TavlixSoft
