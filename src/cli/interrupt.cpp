#include "cli/interrupt.h"

#include <atomic>
#include <csignal>

namespace tavlix::cli {
namespace {

std::atomic<bool> g_interrupted{false};

extern "C" void OnInterrupt(int /*signal*/) { g_interrupted.store(true); }

}  // namespace

void CatchInterrupts() {
  std::signal(SIGINT, OnInterrupt);
  std::signal(SIGTERM, OnInterrupt);
}

bool Interrupted() { return g_interrupted.load(); }

void ClearInterruptForTests() { g_interrupted.store(false); }

}  // namespace tavlix::cli
