// The program's pictures, by the identifiers the windows use: the button state
// bitmaps 102-125, the background 126, and the program icon.
//
// Each picture is read from the embedded resources once, on first use, and the
// same pixmap is handed out afterwards, so the mouse handlers that switch
// pictures many times a second never pile images up. GUI thread only.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace tavlix::ui_qt {

// The bitmap with `id`; a null pixmap for an identifier that has none.
const QPixmap& LoadBitmapById(int id);

// The program icon with its six sizes (16 to 256 pixels).
const QIcon& ProgramIcon();

}  // namespace tavlix::ui_qt
