#include <atomic>
#include <random>
#include <string>

#include "platform/pending_file.h"
#include "platform/process.h"

namespace tavlix::platform {

std::string PendingFileName() {
  static std::atomic<std::uint32_t> counter{0};
  thread_local std::mt19937 random{std::random_device{}()};
  return std::string(kPendingPrefix) + std::to_string(ProcessId()) + "-" + std::to_string(counter++) + "-" +
         std::to_string(random() % 1000000u) + std::string(kPendingSuffix);
}

}  // namespace tavlix::platform
