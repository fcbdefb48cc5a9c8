// The balloon text that names a board just found: which model, on which drive.
// Pure; any thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/drives.h"
#include "settings/localised_texts.h"

namespace tavlix::app {

// BOARD_FOUND's argument is drive position * 16 + model row. The model is the
// row's code ("Other" for rows 0 and 13-15); the drive is the present drive
// whose count among `drives` is (argument / 16) mod 26, named as the drive list
// names it (a letter, or a mount point on Linux); "?" when that drive has gone.
// Lines: message_detecttv, then device label ":" model, then drive label ":"
// drive, separated by "\n".
std::string DetectionText(std::intptr_t argument, const settings::LocalisedTexts& texts,
                          const std::vector<platform::DriveInfo>& drives);

}  // namespace tavlix::app
