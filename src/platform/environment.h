// Environment variables. Thread-safe for reading; tests that change variables
// do so before starting threads.
#pragma once

#include <optional>
#include <string>

namespace tavlix::platform {

// The variable's value, or nullopt when it is not set.
std::optional<std::string> GetEnv(const std::string& name);

}  // namespace tavlix::platform
