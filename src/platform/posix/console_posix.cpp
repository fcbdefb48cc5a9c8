#include <unistd.h>

#include <atomic>
#include <csignal>

#include "platform/console.h"

namespace tavlix::platform {
namespace {

std::atomic<void (*)()> g_handler{nullptr};

extern "C" void OnSignal(int /*signal*/) {
  if (auto* handler = g_handler.load()) handler();
}

}  // namespace

bool StandardOutputIsTerminal() {
  return ::isatty(STDOUT_FILENO) == 1;
}

void OnInterruptRequest(void (*handler)()) {
  g_handler.store(handler);
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  ::sigaction(SIGINT, &action, nullptr);
  ::sigaction(SIGTERM, &action, nullptr);
}

}  // namespace tavlix::platform
