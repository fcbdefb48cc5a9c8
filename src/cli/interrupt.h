// Ctrl-C for the long-running commands: the first SIGINT or SIGTERM asks the
// command to stop cleanly; the command polls Interrupted().
#pragma once

namespace tavlix::cli {

void CatchInterrupts();
bool Interrupted();
void ClearInterruptForTests();

}  // namespace tavlix::cli
