// The console a command-line program runs in. Thread-safe.
#pragma once

namespace tavlix::platform {

// Whether the program's standard output is a terminal (a progress bar may
// redraw its line) rather than a file or a pipe.
bool StandardOutputIsTerminal();

// Calls `handler` when the user asks the program to stop (Ctrl-C, Ctrl-Break,
// a termination request). The handler runs on whatever thread the system
// delivers the request on and may only set an atomic flag.
void OnInterruptRequest(void (*handler)());

}  // namespace tavlix::platform
