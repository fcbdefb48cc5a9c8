#include <atomic>
#include <csignal>

#include "platform/console.h"
#include "platform/windows/unique_handle.h"

namespace tavlix::platform {
namespace {

std::atomic<void (*)()> g_handler{nullptr};

// Runs on a thread the system starts for the request.
BOOL WINAPI OnConsoleControl(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
      if (auto* handler = g_handler.load()) {
        handler();
        return TRUE;
      }
      return FALSE;
    default: return FALSE;
  }
}

extern "C" void OnSignal(int /*signal*/) {
  if (auto* handler = g_handler.load()) handler();
}

}  // namespace

bool StandardOutputIsTerminal() {
  const HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);
  if (output == nullptr || output == INVALID_HANDLE_VALUE) return false;
  DWORD mode = 0;
  return ::GetFileType(output) == FILE_TYPE_CHAR && ::GetConsoleMode(output, &mode) != 0;
}

void OnInterruptRequest(void (*handler)()) {
  g_handler.store(handler);
  ::SetConsoleCtrlHandler(OnConsoleControl, TRUE);
  // A request raised inside the process (raise) goes to the C runtime's
  // signal handlers, not to the console's.
  std::signal(SIGINT, OnSignal);
  std::signal(SIGTERM, OnSignal);
}

}  // namespace tavlix::platform
