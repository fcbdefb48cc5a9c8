// File names that Windows takes for devices: CON, PRN, AUX, NUL, CONIN$,
// CONOUT$, COM0-COM9 and LPT0-LPT9 (and COM/LPT with a superscript 1, 2 or 3),
// in any case, alone or with any extension ("com1.png", "Nul.tar.gz"), and
// with blanks before the first dot ("CON .jpg"). Opening such a name in a
// folder opens the device instead (a serial port, the console). Names are
// UTF-8. Pure; any thread.
#pragma once

#include <string_view>

namespace tavlix::platform {

bool IsDeviceName(std::string_view name);

}  // namespace tavlix::platform
