#include "ui_win32/setting_dialog.h"

#include <vector>

#include "platform/windows/win32_text.h"
#include "ui_win32/folder_picker.h"

namespace tavlix::ui_win32 {
namespace {

using settings::OutputFormat;

constexpr wchar_t kClassName[] = L"TavlixSettingDialog";
constexpr int kClientWidth = 284;
constexpr int kClientHeight = 261;
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

// Control numbers. OK and Cancel are not IDOK and IDCANCEL, which the dialog
// keys Enter and Esc send.
enum Control : int {
  kFolderText = 1001,
  kBrowse,
  kOk,
  kCancel,
  kChoiceBoard,
  kChoiceJpeg,
  kChoicePng,
  kChoicePdf
};

// Inside the panel's single-line border, the choices' places are offset by
// the panel's place and its border.
constexpr int kPanelX = 12 + 1;
constexpr int kPanelY = 105 + 1;

std::size_t ChoiceIndex(OutputFormat format) {
  switch (format) {
    case OutputFormat::board: return 0;
    case OutputFormat::jpeg: return 1;
    case OutputFormat::pdf: return 3;
    case OutputFormat::png: break;
  }
  return 2;
}

constexpr OutputFormat kChoiceFormats[] = {OutputFormat::board, OutputFormat::jpeg, OutputFormat::png,
                                           OutputFormat::pdf};

std::wstring WindowText(HWND window) {
  std::vector<wchar_t> text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1);
  const int length = ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
  return std::wstring(text.data(), static_cast<std::size_t>(length > 0 ? length : 0));
}

}  // namespace

SettingDialog::SettingDialog(HWND owner, HICON small_icon, HICON icon, app::DpiScale scale)
    : owner_(owner), scale_(scale) {
  const auto module = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(owner, GWLP_HINSTANCE));
  RegisterWindowClass(module, kClassName, &SettingDialog::Procedure, ::GetSysColorBrush(COLOR_BTNFACE));
  RECT outer{0, 0, scale_.Of(kClientWidth), scale_.Of(kClientHeight)};
  ::AdjustWindowRectEx(&outer, kStyle, FALSE, kExStyle);
  hwnd_ = ::CreateWindowExW(kExStyle, kClassName, L"Orvane Tavlix Connect", kStyle, 0, 0,
                            outer.right - outer.left, outer.bottom - outer.top, owner, nullptr, module, this);
  if (hwnd_ == nullptr) return;
  ::SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_icon));
  ::SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
    font_ = ::CreateFontIndirectW(&metrics.lfMessageFont);

  // In tab order, each label just before what its mnemonic reaches; the
  // format heading, made before the panel, lies in front of its top border.
  constexpr DWORD kTab = WS_TABSTOP;
  folder_label_ = MakeControl(L"STATIC", L"Folder setting", 0, {10, 16, 76, 12}, 0);
  folder_text_ = MakeControl(L"EDIT", L"", kTab | ES_AUTOHSCROLL | WS_BORDER, {12, 31, 260, 19}, kFolderText);
  MakeControl(L"BUTTON", L"Browse", kTab | BS_PUSHBUTTON, {197, 56, 75, 23}, kBrowse);
  MakeControl(L"BUTTON", L"OK", kTab | BS_PUSHBUTTON, {113, 226, 75, 23}, kOk);
  MakeControl(L"BUTTON", L"Cancel", kTab | BS_PUSHBUTTON, {197, 226, 75, 23}, kCancel);
  format_label_ = MakeControl(L"STATIC", L"File format setting", 0, {19, 99, 100, 12}, 0);
  choices_[0] = MakeControl(L"BUTTON", L"Follow tavlix setting.", WS_GROUP | BS_AUTORADIOBUTTON,
                            {kPanelX + 100, kPanelY + 13, 153, 16}, kChoiceBoard);
  ::ShowWindow(choices_[0], SW_HIDE);
  choices_[1] = MakeControl(L"BUTTON", L"JPEG", kTab | BS_AUTORADIOBUTTON,
                            {kPanelX + 3, kPanelY + 13, 52, 16}, kChoiceJpeg);
  choices_[2] = MakeControl(L"BUTTON", L"PNG", kTab | BS_AUTORADIOBUTTON, {kPanelX + 3, kPanelY + 35, 46, 16},
                            kChoicePng);
  choices_[3] = MakeControl(L"BUTTON", L"PDF", kTab | BS_AUTORADIOBUTTON, {kPanelX + 3, kPanelY + 57, 45, 16},
                            kChoicePdf);
  // The panel: a single-line border around the choices, behind them.
  MakeControl(L"STATIC", L"", WS_GROUP | WS_BORDER, {12, 105, 260, 86}, 0);
  FitToText(folder_label_);
  FitToText(format_label_);
}

void SettingDialog::FitToText(HWND label) {
  // The labels size themselves to their text, as the layout's auto-size ones do.
  const std::wstring text = WindowText(label);
  HDC dc = ::GetDC(label);
  HGDIOBJ before = ::SelectObject(dc, font_ != nullptr ? font_ : ::GetStockObject(DEFAULT_GUI_FONT));
  SIZE size{};
  ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  ::SelectObject(dc, before);
  ::ReleaseDC(label, dc);
  ::SetWindowPos(label, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

SettingDialog::~SettingDialog() {
  if (hwnd_ != nullptr) {
    ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    ::DestroyWindow(hwnd_);
  }
  if (font_ != nullptr) ::DeleteObject(font_);
}

HWND SettingDialog::MakeControl(const wchar_t* kind, const wchar_t* text, DWORD style, app::Rect design,
                                int id) {
  const auto module = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(hwnd_, GWLP_HINSTANCE));
  const app::Rect place = scale_.Of(design);
  HWND control = ::CreateWindowExW(0, kind, text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, place.x,
                                   place.y, place.width, place.height, hwnd_,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), module, nullptr);
  if (control != nullptr && font_ != nullptr)
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  return control;
}

void SettingDialog::SetTexts(const app::SettingsDialogTexts& texts) {
  ::SetWindowTextW(hwnd_, platform::Widen(texts.caption).c_str());
  ::SetWindowTextW(folder_label_, platform::Widen(texts.folder_label).c_str());
  ::SetWindowTextW(format_label_, platform::Widen(texts.format_label).c_str());
  ::SetWindowTextW(choices_[0], platform::Widen(texts.board_format_choice).c_str());
  FitToText(folder_label_);
  FitToText(format_label_);
  browse_description_ = platform::Widen(texts.browse_description);
}

int SettingDialog::Height() const {
  RECT outer{};
  ::GetWindowRect(hwnd_, &outer);
  return outer.bottom - outer.top;
}

std::optional<app::SettingsDialogValues> SettingDialog::Run(const app::SettingsDialogValues& shown,
                                                            app::Point top_left) {
  ::SetWindowTextW(folder_text_, platform::Widen(shown.folder).c_str());
  const std::size_t checked = ChoiceIndex(shown.format);
  for (std::size_t i = 0; i < choices_.size(); ++i)
    ::SendMessageW(choices_[i], BM_SETCHECK, i == checked ? BST_CHECKED : BST_UNCHECKED, 0);
  ::SetWindowPos(hwnd_, nullptr, top_left.x, top_left.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);

  result_ = Result::open;
  ::EnableWindow(owner_, FALSE);
  ::ShowWindow(hwnd_, SW_SHOW);
  ::SetFocus(folder_text_);
  MSG message{};
  bool quit = false;
  while (result_ == Result::open) {
    if (::GetMessageW(&message, nullptr, 0, 0) <= 0) {
      quit = true;
      break;
    }
    if (!::IsDialogMessageW(hwnd_, &message)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
  }
  // The owner comes back before the dialog goes, so that it keeps the focus.
  ::EnableWindow(owner_, TRUE);
  ::ShowWindow(hwnd_, SW_HIDE);
  if (quit) ::PostQuitMessage(static_cast<int>(message.wParam));
  if (result_ != Result::ok) return std::nullopt;

  app::SettingsDialogValues values;
  values.folder = platform::Narrow(WindowText(folder_text_));
  values.format = OutputFormat::board;  // none checked
  for (std::size_t i = 0; i < choices_.size(); ++i) {
    if (::SendMessageW(choices_[i], BM_GETCHECK, 0, 0) == BST_CHECKED) {
      values.format = kChoiceFormats[i];
      break;
    }
  }
  return values;
}

void SettingDialog::Browse() {
  if (const auto folder = PickFolder(hwnd_, browse_description_))
    ::SetWindowTextW(folder_text_, folder->c_str());
}

LRESULT CALLBACK SettingDialog::Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* self = ObjectOfWindow<SettingDialog>(hwnd, message, lparam);
  if (self == nullptr) return ::DefWindowProcW(hwnd, message, wparam, lparam);
  self->hwnd_ = hwnd;
  return self->Handle(message, wparam, lparam);
}

LRESULT SettingDialog::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      switch (LOWORD(wparam)) {
        case kBrowse: Browse(); return 0;
        case kOk: result_ = Result::ok; return 0;
        case kCancel: result_ = Result::cancel; return 0;
        default: return 0;  // IDOK and IDCANCEL from Enter and Esc: nothing
      }
    case WM_CLOSE: result_ = Result::cancel; return 0;
    case WM_NEXTDLGCTL: MoveDialogFocus(hwnd_, wparam, lparam); return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      // Labels and choices on the dialog's own face, as in a system dialog.
      HDC dc = reinterpret_cast<HDC>(wparam);
      ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
      ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
      return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
    }
    default: return ::DefWindowProcW(hwnd_, message, wparam, lparam);
  }
}

}  // namespace tavlix::ui_win32
