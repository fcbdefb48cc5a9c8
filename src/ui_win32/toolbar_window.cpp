#include "ui_win32/toolbar_window.h"

#include <wtsapi32.h>

#include "platform/windows/win32_text.h"
#include "ui_win32/single_instance.h"

namespace tavlix::ui_win32 {
namespace {

constexpr const wchar_t* kClassName = kToolbarClassName;
constexpr wchar_t kCaption[] = L"Orvane Tavlix Connect";
constexpr UINT_PTR kCollectTimer = 1;
constexpr unsigned kBalloonMilliseconds = 3000;
constexpr app::Rect kTitleStrip{0, 0, 158, 15};

struct ButtonLayout {
  app::ToolbarButton button;
  app::Rect place;  // at 96 DPI
};
// In tab order: Scan, Feed, Open folder, Settings, then help and close. They
// do not overlap, so this order is also the one in front of the other.
constexpr ButtonLayout kButtonLayout[] = {
    {app::ToolbarButton::scan, {5, 27, 48, 48}},
    {app::ToolbarButton::feed, {58, 27, 48, 48}},
    {app::ToolbarButton::folder_open, {111, 27, 48, 48}},
    {app::ToolbarButton::setting_open, {164, 27, 48, 48}},
    {app::ToolbarButton::help, {164, 2, 25, 13}},
    {app::ToolbarButton::close, {190, 2, 25, 13}},
};

RECT WinRect(const app::Rect& rect) {
  return {rect.x, rect.y, rect.right(), rect.bottom()};
}

std::size_t IndexOf(app::ToolbarButton button) {
  return static_cast<std::size_t>(button);
}

app::ButtonMouse ControllerEvent(MouseEvent event) {
  switch (event) {
    case MouseEvent::hover: return app::ButtonMouse::hover;
    case MouseEvent::down: return app::ButtonMouse::down;
    case MouseEvent::up: return app::ButtonMouse::up;
    case MouseEvent::leave: break;
  }
  return app::ButtonMouse::leave;
}

app::Rect RectOf(const RECT& rect) {
  return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

// The message the installer sends every top-level window before it replaces
// or removes the program (packaging/windows/tavlixconnect.nsi names it too);
// 0 when the system could not register it.
UINT EndRequestMessage() {
  static const UINT id = ::RegisterWindowMessageW(L"TavlixConnect.EndRequest");
  return id;
}

// The program icon drawn for the system's small or large icon size at the
// screen's scale (16 and 32 pixels at 96 DPI, 24 and 48 at 144), picked from
// or scaled down from the icon's nearest image.
HICON LoadProgramIcon(HINSTANCE module, int metric) {
  HICON icon = nullptr;
  if (SUCCEEDED(::LoadIconMetric(module, ResourceName(kProgramIconId), metric, &icon))) return icon;
  const bool small = metric == LIM_SMALL;
  return static_cast<HICON>(::LoadImageW(module, ResourceName(kProgramIconId), IMAGE_ICON,
                                         ::GetSystemMetrics(small ? SM_CXSMICON : SM_CXICON),
                                         ::GetSystemMetrics(small ? SM_CYSMICON : SM_CYICON), 0));
}

// Every picture the toolbar shows, so that all are resized once, at start.
void LoadToolbarPictures(BitmapSet& pictures) {
  for (const ButtonLayout& layout : kButtonLayout) {
    const app::ButtonBitmaps& bitmaps = app::BitmapsOf(layout.button);
    pictures.LoadAll({bitmaps.normal, bitmaps.hover, bitmaps.pressed});
    if (bitmaps.disabled != 0) pictures.Get(bitmaps.disabled);
  }
  pictures.Get(app::kBackgroundBitmap);
}

}  // namespace

ToolbarWindow::ToolbarWindow(HINSTANCE module)
    : module_(module),
      scale_(SystemDpi()),
      pictures_(module, scale_),
      target_(window_thread_, [this](int code, std::intptr_t arg) { controller_.OnBoardNotify(code, arg); }),
      controller_(*this, "TavlixConnect") {}

ToolbarWindow::~ToolbarWindow() {
  if (hwnd_ != nullptr) ::DestroyWindow(hwnd_);
  if (icon_ != nullptr) ::DestroyIcon(icon_);
  if (small_icon_ != nullptr) ::DestroyIcon(small_icon_);
}

bool ToolbarWindow::Create() {
  if (hwnd_ != nullptr) return true;
  icon_ = LoadProgramIcon(module_, LIM_LARGE);
  small_icon_ = LoadProgramIcon(module_, LIM_SMALL);
  LoadToolbarPictures(pictures_);
  RegisterWindowClass(module_, kClassName, &ToolbarWindow::Procedure, nullptr, icon_, small_icon_);
  // Borderless, not shown and without a taskbar button until the tray shows
  // it. The buttons are its tab stops (a control parent, like a dialog).
  hwnd_ = ::CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT, kClassName, kCaption,
                            WS_POPUP | WS_CLIPCHILDREN, 0, 0, scale_.Of(app::kToolbarWidth),
                            scale_.Of(app::kToolbarHeight), nullptr, nullptr, module_, this);
  if (hwnd_ == nullptr) return false;
  window_thread_.Attach(hwnd_);
  MakeButtons();
  tray_ = std::make_unique<TrayIcon>(
      hwnd_, small_icon_, kCaption,
      TrayIcon::Handlers{[this] { controller_.TrayShow(true); }, [this] { controller_.ShowHelp(); },
                         [this] { ::DestroyWindow(hwnd_); },
                         // Nothing else could bring the toolbar up.
                         [this] { controller_.TrayShow(true); }});
  dialog_ = std::make_unique<SettingDialog>(hwnd_, small_icon_, icon_, scale_);
  session_.Start(hwnd_);
  return true;
}

void ToolbarWindow::MakeButtons() {
  for (const ButtonLayout& layout : kButtonLayout) {
    auto button = std::make_unique<ImageButton>(hwnd_, WinRect(scale_.Of(layout.place)), pictures_,
                                                app::BitmapsOf(layout.button).normal);
    const app::ToolbarButton which = layout.button;
    button->OnMouse(
        [this, which](MouseEvent event) { controller_.ButtonMouseEvent(which, ControllerEvent(event)); });
    button->OnClick([this, which] {
      switch (which) {
        case app::ToolbarButton::scan: controller_.Scan(); return;
        case app::ToolbarButton::feed: controller_.Feed(); return;
        case app::ToolbarButton::folder_open: controller_.OpenFolder(); return;
        case app::ToolbarButton::setting_open: controller_.OpenSettings(); return;
        case app::ToolbarButton::help: controller_.ShowHelp(); return;
        case app::ToolbarButton::close: controller_.CloseToolbar(); return;
      }
    });
    buttons_[IndexOf(which)] = std::move(button);
  }
  tips_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, module_, nullptr);
}

bool ToolbarWindow::Run() {
  if (!Create()) return false;
  controller_.Start(&target_);
  // The controller looks for the board's collector lock while it does not hold it.
  ::SetTimer(hwnd_, kCollectTimer, static_cast<UINT>(app::kCollectInterval.count()), nullptr);
  MSG message{};
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (::IsDialogMessageW(hwnd_, &message)) continue;  // Tab, Space and Enter on the buttons
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return true;
}

ImageButton& ToolbarWindow::ButtonOf(app::ToolbarButton button) {
  return *buttons_[IndexOf(button)];
}

LRESULT CALLBACK ToolbarWindow::Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* self = ObjectOfWindow<ToolbarWindow>(hwnd, message, lparam);
  if (self == nullptr) return ::DefWindowProcW(hwnd, message, wparam, lparam);
  self->hwnd_ = hwnd;
  return self->Handle(message, wparam, lparam);
}

LRESULT ToolbarWindow::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  if (tray_ && tray_->HandleMessage(message, wparam, lparam)) return 0;
  if (message == EndRequestMessage() && message != 0) {
    // The installer is about to replace or remove the program: end as at
    // logout, without a box nobody may be there to answer.
    EndSession();
    return 0;
  }
  if (message == ShowRequestMessage()) {  // a second start of the program
    controller_.ShowForSecondStart();
    return 0;
  }
  switch (message) {
    case kBoardNotifyMessage: window_thread_.RunQueued(); return 0;
    case WM_PAINT: Paint(); return 0;
    case WM_ERASEBKGND: return 1;  // Paint covers the whole window
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED: TitleMouse(message, wparam, lparam); return 0;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;  // a click does not take the focus
    case WM_NEXTDLGCTL: MoveDialogFocus(hwnd_, wparam, lparam); return 0;
    case WM_TIMER:
      if (wparam == kCollectTimer) controller_.KeepCollecting();
      return 0;
    case WM_WTSSESSION_CHANGE: controller_.OnSessionSwitch(static_cast<int>(wparam)); return 0;
    case WM_ENDSESSION:
      // The session ends (logout, shut-down): what Exit does, before this
      // answer, after which the system may end the process at any moment.
      if (wparam != FALSE) EndSession();
      return 0;
    case WM_DESTROY:
      Destroyed();
      ::PostQuitMessage(0);
      return 0;
    default: return ::DefWindowProcW(hwnd_, message, wparam, lparam);
  }
}

void ToolbarWindow::EndSession() {
  end_reason_ = app::EndReason::session_end;
  ::DestroyWindow(hwnd_);
}

void ToolbarWindow::Destroyed() {
  if (shut_down_) return;
  shut_down_ = true;
  ::KillTimer(hwnd_, kCollectTimer);
  session_.Stop();
  // A worker that sends from now on stops waiting at once.
  window_thread_.Close();
  // No box may hold up the sign-out: what it would say goes to the debug log.
  if (const std::string unsaid = controller_.Shutdown(end_reason_); !unsaid.empty())
    ::OutputDebugStringW((L"TavlixConnect: " + platform::Widen(unsaid) + L"\n").c_str());
  if (tray_) tray_->Remove();
}

void ToolbarWindow::TitleMouse(UINT message, WPARAM wparam, LPARAM lparam) {
  const app::Point at{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
  const POINT point{at.x, at.y};
  const RECT title = WinRect(scale_.Of(kTitleStrip));
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      if (!::PtInRect(&title, point)) return;
      controller_.TitleMouseDown(message == WM_LBUTTONDOWN, at);
      if (message == WM_LBUTTONDOWN) {
        dragging_ = true;
        ::SetCapture(hwnd_);
      }
      return;
    case WM_MOUSEMOVE:
      if (dragging_ || ::PtInRect(&title, point))
        controller_.TitleMouseMove((wparam & MK_LBUTTON) != 0 && dragging_, at);
      return;
    case WM_LBUTTONUP:
      if (dragging_) ::ReleaseCapture();
      return;
    default: dragging_ = false; return;  // the capture went
  }
}

void ToolbarWindow::Paint() {
  PAINTSTRUCT paint{};
  HDC dc = ::BeginPaint(hwnd_, &paint);
  RECT client{};
  ::GetClientRect(hwnd_, &client);
  ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
  BitmapSet::Draw(dc, pictures_.Get(app::kBackgroundBitmap), 0, 0);
  if (strip_.uncovered) {
    const app::ProgressStripPlaces places = app::ProgressStripPlacesFor(strip_, scale_);
    const RECT background = WinRect(places.background);
    ::FillRect(dc, &background, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    const RECT bar = WinRect(places.bar);
    HBRUSH blue = ::CreateSolidBrush(RGB(0, 0, 255));
    ::FillRect(dc, &bar, blue);
    ::DeleteObject(blue);
  }
  ::EndPaint(hwnd_, &paint);
}

// ---- ToolbarView ----

void ToolbarWindow::ShowMessageBox(const std::string& text) {
  // In front of everything, a full-screen presentation too; still no owner and no icon.
  ::MessageBoxW(nullptr, platform::Widen(text).c_str(), L"", MB_OK | MB_SETFOREGROUND | MB_TOPMOST);
}

void ToolbarWindow::ShowBalloon(app::Balloon, const std::string& text) {
  if (tray_) tray_->ShowBalloon(platform::Widen(text), kBalloonMilliseconds);
}

void ToolbarWindow::SetButtonPicture(app::ToolbarButton button, int bitmap) {
  ButtonOf(button).SetPicture(bitmap);
}

void ToolbarWindow::SetButtonEnabled(app::ToolbarButton button, bool enabled) {
  ButtonOf(button).SetEnabled(enabled);
}

void ToolbarWindow::SetToolTip(app::ToolbarButton button, const std::string& text) {
  if (tips_ == nullptr) return;
  std::wstring wide = platform::Widen(text);
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = hwnd_;
  tool.uId = reinterpret_cast<UINT_PTR>(ButtonOf(button).hwnd());
  tool.lpszText = wide.data();
  ButtonOf(button).SetName(wide);
  bool& has_tip = has_tip_[IndexOf(button)];
  ::SendMessageW(tips_, has_tip ? TTM_UPDATETIPTEXTW : TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  has_tip = true;
}

void ToolbarWindow::SetTrayItemText(app::TrayItem item, const std::string& text) {
  if (tray_) tray_->SetItemText(item, platform::Widen(text));
}

void ToolbarWindow::SetSettingsDialogTexts(const app::SettingsDialogTexts& texts) {
  if (dialog_) dialog_->SetTexts(texts);
}

void ToolbarWindow::ShowProgress(const app::ProgressStrip& strip) {
  strip_ = strip;
  ::SetWindowPos(hwnd_, nullptr, 0, 0, scale_.Of(app::kToolbarWidth),
                 app::ProgressStripPlacesFor(strip, scale_).window_height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ::InvalidateRect(hwnd_, nullptr, FALSE);
  ::UpdateWindow(hwnd_);  // painted now: a full bar is held by a pause
}

app::Rect ToolbarWindow::DesktopRect() {
  RECT desktop{};
  ::GetWindowRect(::GetDesktopWindow(), &desktop);
  return RectOf(desktop);
}

app::Rect ToolbarWindow::ToolbarRect() {
  RECT toolbar{};
  ::GetWindowRect(hwnd_, &toolbar);
  return RectOf(toolbar);
}

void ToolbarWindow::MoveToolbar(app::Point top_left) {
  ::SetWindowPos(hwnd_, nullptr, top_left.x, top_left.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ToolbarWindow::SetTaskbarButton(bool shown) {
  auto style = static_cast<DWORD>(::GetWindowLongPtrW(hwnd_, GWL_EXSTYLE));
  style = shown ? (style & ~static_cast<DWORD>(WS_EX_TOOLWINDOW)) | WS_EX_APPWINDOW
                : (style & ~static_cast<DWORD>(WS_EX_APPWINDOW)) | WS_EX_TOOLWINDOW;
  ::SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, static_cast<LONG_PTR>(style));
}

void ToolbarWindow::ShowToolbar() {
  SetTaskbarButton(true);
  constexpr UINT kKeepPlace = SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW;
  ::SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, kKeepPlace);
  ::SetWindowPos(hwnd_, HWND_NOTOPMOST, 0, 0, 0, 0, kKeepPlace);
  // Hidden and shown again, so the taskbar sees the new style; restored if
  // it was minimised.
  ::ShowWindow(hwnd_, SW_HIDE);
  ::ShowWindow(hwnd_, SW_RESTORE);
}

void ToolbarWindow::HideToolbar() {
  if (!tray_ || !tray_->shown()) {
    ::ShowWindow(hwnd_, SW_MINIMIZE);  // no tray icon to bring it back: keep its taskbar button
    return;
  }
  SetTaskbarButton(false);
  ::ShowWindow(hwnd_, SW_HIDE);
}

int ToolbarWindow::SettingsDialogHeight() {
  return dialog_ ? dialog_->Height() : 0;
}

std::optional<app::SettingsDialogValues> ToolbarWindow::RunSettingsDialog(
    const app::SettingsDialogValues& shown, app::Point top_left) {
  if (!dialog_) return std::nullopt;
  return dialog_->Run(shown, top_left);
}

void ToolbarWindow::RunPendingEvents() {
  MSG message{};
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(message.wParam));  // for the loop that ends on it
      return;
    }
    if (dialog_ && ::IsWindowVisible(dialog_->hwnd()) && ::IsDialogMessageW(dialog_->hwnd(), &message))
      continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

}  // namespace tavlix::ui_win32
