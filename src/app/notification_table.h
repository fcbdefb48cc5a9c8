// What each board notification code means to the window: the text of its
// error box and the outcome it ends an operation with. Pure; any thread.
#pragma once

#include <string>

#include "settings/localised_texts.h"

namespace tavlix::app {

// The error box text of `code` (BOARD_BUSY, the board's errors, the time-out,
// the detachment, the other error); null for codes without a box.
const std::string* ErrorBoxText(const settings::LocalisedTexts& texts, int code);

}  // namespace tavlix::app
