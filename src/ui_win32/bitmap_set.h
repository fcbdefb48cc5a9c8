// The program's bitmap resources by number (the button pictures and the
// toolbar's background). Each is loaded once, on first use, and released
// with the set, so changing a button's picture never loads another copy.
// UI thread only.
#pragma once

#include <map>

#include "ui_win32/win32.h"

namespace tavlix::ui_win32 {

class BitmapSet {
 public:
  explicit BitmapSet(HINSTANCE module) : module_(module) {}
  ~BitmapSet();
  BitmapSet(const BitmapSet&) = delete;
  BitmapSet& operator=(const BitmapSet&) = delete;

  // The bitmap resource `id`; null when the program has none of that number.
  HBITMAP Get(int id);
  // Its size in pixels; (0, 0) for a null bitmap.
  static SIZE SizeOf(HBITMAP bitmap);
  // Draws `bitmap` unscaled with its top-left corner at (x, y).
  static void Draw(HDC dc, HBITMAP bitmap, int x, int y);

 private:
  HINSTANCE module_;
  std::map<int, HBITMAP> loaded_;
};

}  // namespace tavlix::ui_win32
