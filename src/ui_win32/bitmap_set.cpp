#include "ui_win32/bitmap_set.h"

namespace tavlix::ui_win32 {

BitmapSet::~BitmapSet() {
  for (const auto& [id, bitmap] : loaded_)
    if (bitmap != nullptr) ::DeleteObject(bitmap);
}

HBITMAP BitmapSet::Get(int id) {
  if (const auto it = loaded_.find(id); it != loaded_.end()) return it->second;
  HANDLE image = ::LoadImageW(module_, ResourceName(id), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR);
  return loaded_.emplace(id, static_cast<HBITMAP>(image)).first->second;
}

SIZE BitmapSet::SizeOf(HBITMAP bitmap) {
  BITMAP info{};
  if (bitmap == nullptr || ::GetObjectW(bitmap, sizeof info, &info) == 0) return {0, 0};
  return {info.bmWidth, info.bmHeight};
}

void BitmapSet::Draw(HDC dc, HBITMAP bitmap, int x, int y) {
  if (bitmap == nullptr) return;
  const SIZE size = SizeOf(bitmap);
  HDC source = ::CreateCompatibleDC(dc);
  if (source == nullptr) return;
  HGDIOBJ before = ::SelectObject(source, bitmap);
  ::BitBlt(dc, x, y, size.cx, size.cy, source, 0, 0, SRCCOPY);
  ::SelectObject(source, before);
  ::DeleteDC(source);
}

}  // namespace tavlix::ui_win32
