// The toolbar's arithmetic in plain types: the progress strip, where the
// toolbar and the settings dialog go, and how a title drag moves the window.
// Pixels; integer arithmetic with truncating division, as the layout was
// designed. Pure; any thread.
#pragma once

namespace tavlix::app {

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  int right() const { return x + width; }
  int bottom() const { return y + height; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

inline constexpr int kToolbarWidth = 217;
inline constexpr int kToolbarHeight = 80;          // the strip hidden below
inline constexpr int kToolbarProgressHeight = 86;  // the strip uncovered
inline constexpr int kProgressStripWidth = 213;

// What the progress strip shows for the progress value `percent`.
struct ProgressStrip {
  int percent = 0;
  int window_height = kToolbarHeight;  // 86 while 1..99 (and the full bar) shows, else 80
  int bar_width = 0;                   // 0, (p * 213 / 500) * 5 for 1..99, 213 from 100 on
  bool uncovered = false;              // the background white, the bar blue
  friend bool operator==(const ProgressStrip&, const ProgressStrip&) = default;
};
ProgressStrip ProgressStripFor(int percent);

// Near the top right corner of the desktop: x = right * 9 / 10 - width,
// y = bottom / 10.
Point ToolbarPlacement(const Rect& desktop, int toolbar_width);

// The settings dialog's top-left corner: at the toolbar's left edge, below it
// when the toolbar's bottom edge is at most 8/10 of the desktop's bottom edge,
// otherwise above it with the dialog's bottom edge at the toolbar's top.
Point SettingDialogPlacement(const Rect& toolbar, int dialog_height, const Rect& desktop);

// The window's new position when the title strip, grabbed at `grab`, is under
// the pointer at `pointer` (both relative to the strip).
Point DraggedPosition(Point window, Point grab, Point pointer);

}  // namespace tavlix::app
