// The program's bitmap resources by number (the button pictures and the
// toolbar's background), at the screen's scale: away from 96 DPI each is
// resized smoothly (app/picture_scale.h) when it is loaded. Each is loaded
// once, on first use or by LoadAll at start, and released with the set, so
// changing a button's picture never loads or resizes another copy.
// UI thread only.
#pragma once

#include <initializer_list>
#include <map>

#include "app/dpi_scale.h"
#include "ui_win32/win32.h"

namespace tavlix::ui_win32 {

class BitmapSet {
 public:
  BitmapSet(HINSTANCE module, app::DpiScale scale) : module_(module), scale_(scale) {}
  ~BitmapSet();
  BitmapSet(const BitmapSet&) = delete;
  BitmapSet& operator=(const BitmapSet&) = delete;

  // The bitmap resource `id` at the set's scale; null when the program has
  // none of that number.
  HBITMAP Get(int id);
  void LoadAll(std::initializer_list<int> ids);
  // Its size in pixels; (0, 0) for a null bitmap.
  static SIZE SizeOf(HBITMAP bitmap);
  // Draws `bitmap` as it is with its top-left corner at (x, y).
  static void Draw(HDC dc, HBITMAP bitmap, int x, int y);

 private:
  HINSTANCE module_;
  app::DpiScale scale_;
  std::map<int, HBITMAP> loaded_;
};

}  // namespace tavlix::ui_win32
