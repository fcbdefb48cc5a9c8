#include "ui_win32/image_button.h"

namespace tavlix::ui_win32 {
namespace {

constexpr wchar_t kClassName[] = L"TavlixImageButton";

}  // namespace

ImageButton::ImageButton(HWND parent, RECT place, BitmapSet& pictures, int picture)
    : pictures_(pictures), picture_(picture) {
  const auto module = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(parent, GWLP_HINSTANCE));
  RegisterWindowClass(module, kClassName, &ImageButton::Procedure);
  hwnd_ =
      ::CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, place.left, place.top,
                        place.right - place.left, place.bottom - place.top, parent, nullptr, module, this);
}

ImageButton::~ImageButton() {
  if (hwnd_ != nullptr) {
    ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    ::DestroyWindow(hwnd_);
  }
}

void ImageButton::SetPicture(int picture) {
  if (picture == picture_) return;
  picture_ = picture;
  ::InvalidateRect(hwnd_, nullptr, FALSE);
}

void ImageButton::SetEnabled(bool enabled) {
  ::EnableWindow(hwnd_, enabled ? TRUE : FALSE);
}

bool ImageButton::enabled() const {
  return ::IsWindowEnabled(hwnd_) != FALSE;
}

LRESULT CALLBACK ImageButton::Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* self = ObjectOfWindow<ImageButton>(hwnd, message, lparam);
  if (self == nullptr) return ::DefWindowProcW(hwnd, message, wparam, lparam);
  self->hwnd_ = hwnd;
  return self->Handle(message, wparam, lparam);
}

void ImageButton::Report(MouseEvent event) {
  if (on_mouse_) on_mouse_(event);
}

void ImageButton::TrackPointer() {
  if (tracking_) return;
  TRACKMOUSEEVENT track{};
  track.cbSize = sizeof track;
  track.dwFlags = TME_HOVER | TME_LEAVE;
  track.hwndTrack = hwnd_;
  track.dwHoverTime = HOVER_DEFAULT;  // the system's hover time
  tracking_ = ::TrackMouseEvent(&track) != FALSE;
}

LRESULT ImageButton::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_PAINT: Paint(); return 0;
    case WM_ERASEBKGND: return 1;  // the picture covers the button
    case WM_MOUSEMOVE: TrackPointer(); return 0;
    case WM_MOUSEHOVER: Report(MouseEvent::hover); return 0;
    case WM_MOUSELEAVE:
      tracking_ = false;
      Report(MouseEvent::leave);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      left_down_ = true;
      ::SetCapture(hwnd_);
      Report(MouseEvent::down);
      return 0;
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: Report(MouseEvent::down); return 0;
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: Report(MouseEvent::up); return 0;
    case WM_LBUTTONUP: {
      const bool was_down = left_down_;
      left_down_ = false;
      if (::GetCapture() == hwnd_) ::ReleaseCapture();
      Report(MouseEvent::up);
      RECT client{};
      ::GetClientRect(hwnd_, &client);
      const POINT at{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
      if (was_down && ::PtInRect(&client, at) && on_click_) on_click_();
      return 0;
    }
    case WM_CAPTURECHANGED: left_down_ = false; return 0;
    default: return ::DefWindowProcW(hwnd_, message, wparam, lparam);
  }
}

void ImageButton::Paint() {
  PAINTSTRUCT paint{};
  HDC dc = ::BeginPaint(hwnd_, &paint);
  RECT client{};
  ::GetClientRect(hwnd_, &client);
  ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
  HBITMAP bitmap = pictures_.Get(picture_);
  const SIZE size = BitmapSet::SizeOf(bitmap);
  BitmapSet::Draw(dc, bitmap, (client.right - size.cx) / 2, (client.bottom - size.cy) / 2);
  ::EndPaint(hwnd_, &paint);
}

}  // namespace tavlix::ui_win32
