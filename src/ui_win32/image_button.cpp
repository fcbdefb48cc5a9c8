#include "ui_win32/image_button.h"

// clang-format off
#include <initguid.h>
#include <oleacc.h>
// clang-format on

namespace tavlix::ui_win32 {
namespace {

constexpr wchar_t kClassName[] = L"TavlixImageButton";

// Dynamic annotation of the button's accessible object: the push-button role
// instead of the plain client area a window of its own class has. Without
// the accessibility service (or COM) the button keeps the plain role.
void AnnotateRole(HWND button, bool set) {
  IAccPropServices* services = nullptr;
  if (FAILED(::CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                                reinterpret_cast<void**>(&services))))
    return;
  MSAAPROPID role = PROPID_ACC_ROLE;
  if (set) {
    VARIANT value{};
    value.vt = VT_I4;
    value.lVal = ROLE_SYSTEM_PUSHBUTTON;
    services->SetHwndProp(button, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, role, value);
  } else {
    services->ClearHwndProps(button, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, &role, 1);
  }
  services->Release();
}

}  // namespace

ImageButton::ImageButton(HWND parent, RECT place, BitmapSet& pictures, int picture)
    : pictures_(pictures), picture_(picture) {
  const auto module = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(parent, GWLP_HINSTANCE));
  RegisterWindowClass(module, kClassName, &ImageButton::Procedure);
  hwnd_ = ::CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP,
                            place.left, place.top, place.right - place.left, place.bottom - place.top, parent,
                            nullptr, module, this);
  if (hwnd_ != nullptr) AnnotateRole(hwnd_, true);
}

ImageButton::~ImageButton() {
  if (hwnd_ != nullptr) {
    AnnotateRole(hwnd_, false);
    ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    ::DestroyWindow(hwnd_);
  }
}

void ImageButton::SetName(const std::wstring& name) {
  ::SetWindowTextW(hwnd_, name.c_str());
}

void ImageButton::Click() {
  if (on_click_) on_click_();
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
      if (was_down && ::PtInRect(&client, at)) Click();
      return 0;
    }
    // The keyboard: the dialog manager gives the button Tab, Space and Enter
    // (the toolbar has no default button that Enter would press instead).
    case WM_GETDLGCODE: {
      const auto* key = reinterpret_cast<const MSG*>(lparam);
      const bool enter = key != nullptr && key->message == WM_KEYDOWN && key->wParam == VK_RETURN;
      return DLGC_BUTTON | (enter ? DLGC_WANTMESSAGE : 0);
    }
    case WM_KEYDOWN:
      if (wparam == VK_RETURN) Click();
      return 0;
    case WM_KEYUP:
      if (wparam == VK_SPACE) Click();
      return 0;
    case BM_CLICK: Click(); return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_UPDATEUISTATE:
      ::InvalidateRect(hwnd_, nullptr, FALSE);
      return ::DefWindowProcW(hwnd_, message, wparam, lparam);
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
  const bool cue_hidden = (::SendMessageW(hwnd_, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) != 0;
  if (::GetFocus() == hwnd_ && !cue_hidden) {
    // Inside the picture's edge, a sixth of the button in from each side.
    RECT focus = client;
    ::InflateRect(&focus, -client.right / 6, -client.bottom / 6);
    ::DrawFocusRect(dc, &focus);
  }
  ::EndPaint(hwnd_, &paint);
}

}  // namespace tavlix::ui_win32
