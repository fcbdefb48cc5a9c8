// A flat image button of the toolbar: a child window that shows one bitmap
// centred, with no border and no text, and reports the mouse to its owner:
// hover (the pointer has rested over it for the system's hover time), a
// button down, a button up, leaving, and a click (left down and up on it).
// What picture each event brings is the owner's matter; a disabled button
// gets no mouse input, so it keeps its picture.
//
// For the keyboard and screen readers it is a push button: a tab stop whose
// window text is its name (the owner sets it to the tool tip's text), shown
// to accessibility tools with the push-button role; Space or Enter on the
// focused button clicks it, and the focus is drawn when the keyboard is in
// use.
//
// UI thread only. The pictures come from a BitmapSet that outlives the button.
#pragma once

#include <functional>
#include <string>

#include "ui_win32/bitmap_set.h"
#include "ui_win32/win32.h"

namespace tavlix::ui_win32 {

enum class MouseEvent { hover, down, up, leave };

class ImageButton {
 public:
  using MouseHandler = std::function<void(MouseEvent)>;
  using ClickHandler = std::function<void()>;

  ImageButton(HWND parent, RECT place, BitmapSet& pictures, int picture);
  ~ImageButton();
  ImageButton(const ImageButton&) = delete;
  ImageButton& operator=(const ImageButton&) = delete;

  HWND hwnd() const { return hwnd_; }
  void OnMouse(MouseHandler handler) { on_mouse_ = std::move(handler); }
  void OnClick(ClickHandler handler) { on_click_ = std::move(handler); }

  // The name screen readers read: the button's window text.
  void SetName(const std::wstring& name);
  void SetPicture(int picture);
  int picture() const { return picture_; }
  void SetEnabled(bool enabled);
  bool enabled() const;

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
  void Paint();
  void Report(MouseEvent event);
  void TrackPointer();
  void Click();

  HWND hwnd_ = nullptr;
  BitmapSet& pictures_;
  int picture_;
  bool tracking_ = false;  // hover and leave are being tracked
  bool left_down_ = false;
  MouseHandler on_mouse_;
  ClickHandler on_click_;
};

}  // namespace tavlix::ui_win32
