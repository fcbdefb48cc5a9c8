#include "ui/button_pictures.h"

namespace TavlixSoft {

int PictureFor(const ButtonBitmaps& bitmaps, ButtonMouse event, bool board_present) {
  if (!board_present && bitmaps.disabled != 0) return bitmaps.disabled;
  switch (event) {
    case ButtonMouse::hover: return bitmaps.hover;
    case ButtonMouse::down: return bitmaps.pressed;
    case ButtonMouse::up:
    case ButtonMouse::leave: return bitmaps.normal;
  }
  return bitmaps.normal;
}

}  // namespace TavlixSoft
