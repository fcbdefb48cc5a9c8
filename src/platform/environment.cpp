#include "platform/environment.h"

#include <cstdlib>

namespace tavlix::platform {

std::optional<std::string> GetEnv(const std::string& name) {
  const char* value = std::getenv(name.c_str());  // NOLINT(concurrency-mt-unsafe)
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

}  // namespace tavlix::platform
