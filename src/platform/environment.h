// Environment variables. Thread-safe for reading; a program changes variables
// only before it starts threads (tests, `tavlix demo`).
#pragma once

#include <optional>
#include <string>

namespace tavlix::platform {

// The variable's value, or nullopt when it is not set.
std::optional<std::string> GetEnv(const std::string& name);

// The variable's value, or nullopt when it is not set or empty.
inline std::optional<std::string> GetNonEmptyEnv(const std::string& name) {
  auto value = GetEnv(name);
  if (!value || value->empty()) return std::nullopt;
  return value;
}

// Sets the variable, or removes it when `value` is nullopt.
void SetEnv(const std::string& name, const std::optional<std::string>& value);

}  // namespace tavlix::platform
