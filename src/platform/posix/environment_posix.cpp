#include <cstdlib>

#include "platform/environment.h"

namespace tavlix::platform {

std::optional<std::string> GetEnv(const std::string& name) {
  const char* value = std::getenv(name.c_str());  // NOLINT(concurrency-mt-unsafe)
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

void SetEnv(const std::string& name, const std::optional<std::string>& value) {
  if (value)
    ::setenv(name.c_str(), value->c_str(), 1);  // NOLINT(concurrency-mt-unsafe): before any thread
  else
    ::unsetenv(name.c_str());  // NOLINT(concurrency-mt-unsafe)
}

}  // namespace tavlix::platform
