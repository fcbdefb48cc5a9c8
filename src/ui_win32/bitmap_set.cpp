#include "ui_win32/bitmap_set.h"

#include <cstring>

#include "app/picture_scale.h"

namespace tavlix::ui_win32 {
namespace {

// A 32-bit top-down device-independent bitmap of the given size.
BITMAPINFO TopDown32(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

// `bitmap` resized to `width` x `height`; null when it cannot be read or
// made. The original stays the caller's.
HBITMAP Resized(HBITMAP bitmap, int width, int height) {
  const SIZE size = BitmapSet::SizeOf(bitmap);
  app::PicturePixels from{static_cast<int>(size.cx), static_cast<int>(size.cy), {}};
  from.pixels.resize(static_cast<std::size_t>(size.cx) * static_cast<std::size_t>(size.cy));
  BITMAPINFO info = TopDown32(from.width, from.height);
  HDC screen = ::GetDC(nullptr);
  const int rows = ::GetDIBits(screen, bitmap, 0, static_cast<UINT>(from.height), from.pixels.data(), &info,
                               DIB_RGB_COLORS);
  ::ReleaseDC(nullptr, screen);
  if (rows != from.height) return nullptr;
  const app::PicturePixels to = app::ScalePicture(from, width, height);
  if (to.pixels.empty()) return nullptr;
  BITMAPINFO scaled_info = TopDown32(width, height);
  void* bits = nullptr;
  HBITMAP scaled = ::CreateDIBSection(nullptr, &scaled_info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (scaled == nullptr) return nullptr;
  std::memcpy(bits, to.pixels.data(), to.pixels.size() * sizeof to.pixels[0]);
  return scaled;
}

}  // namespace

BitmapSet::~BitmapSet() {
  for (const auto& [id, bitmap] : loaded_)
    if (bitmap != nullptr) ::DeleteObject(bitmap);
}

HBITMAP BitmapSet::Get(int id) {
  if (const auto it = loaded_.find(id); it != loaded_.end()) return it->second;
  auto bitmap =
      static_cast<HBITMAP>(::LoadImageW(module_, ResourceName(id), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
  if (bitmap != nullptr && !scale_.is_design()) {
    const SIZE size = SizeOf(bitmap);
    HBITMAP scaled =
        Resized(bitmap, scale_.Of(static_cast<int>(size.cx)), scale_.Of(static_cast<int>(size.cy)));
    // A picture that could not be resized is shown at its own size.
    if (scaled != nullptr) {
      ::DeleteObject(bitmap);
      bitmap = scaled;
    }
  }
  return loaded_.emplace(id, bitmap).first->second;
}

void BitmapSet::LoadAll(std::initializer_list<int> ids) {
  for (const int id : ids) Get(id);
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
