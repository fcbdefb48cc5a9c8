// Which bitmap a toolbar button shows: the bitmap identifiers of each button's
// states, and the picture for a mouse event by the board's presence. Plain
// data and pure functions; any thread.
#pragma once

namespace tavlix::app {

// The toolbar's six image buttons.
enum class ToolbarButton { scan, feed, folder_open, setting_open, help, close };
inline constexpr int kToolbarButtonCount = 6;

struct ButtonBitmaps {
  int normal;
  int hover;  // under the pointer
  int pressed;
  int disabled;  // 0: the button has no disabled look
};

inline constexpr ButtonBitmaps kScanBitmaps{113, 111, 110, 112};
inline constexpr ButtonBitmaps kFeedBitmaps{117, 115, 114, 116};
inline constexpr ButtonBitmaps kFolderBitmaps{121, 119, 118, 0};
inline constexpr ButtonBitmaps kSettingBitmaps{125, 123, 122, 0};
inline constexpr ButtonBitmaps kHelpBitmaps{106, 108, 107, 0};
inline constexpr ButtonBitmaps kCloseBitmaps{102, 104, 103, 0};
inline constexpr int kBackgroundBitmap = 126;

const ButtonBitmaps& BitmapsOf(ToolbarButton button);

// hover: the pointer has rested over the button for the toolkit's hover time.
enum class ButtonMouse { hover, down, up, leave };

// The picture for `event`: hover, pressed or normal while the board is
// present; while it is absent, a button with a disabled look shows that look
// for every event, and the others behave as with the board present.
int PictureFor(const ButtonBitmaps& bitmaps, ButtonMouse event, bool board_present);

}  // namespace tavlix::app
