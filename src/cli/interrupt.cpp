#include "cli/interrupt.h"

#include <atomic>

#include "platform/console.h"

namespace tavlix::cli {
namespace {

std::atomic<bool> g_interrupted{false};

void OnInterrupt() {
  g_interrupted.store(true);
}

}  // namespace

void CatchInterrupts() {
  platform::OnInterruptRequest(OnInterrupt);
}

bool Interrupted() {
  return g_interrupted.load();
}

void ClearInterruptForTests() {
  g_interrupted.store(false);
}

}  // namespace tavlix::cli
