// Sets (value) or removes (nullopt) a variable of this process's environment,
// the one std::getenv reads. Not thread-safe: tests change variables before
// starting threads. One implementation a system (set_env_posix/_windows.cpp).
#pragma once

#include <optional>
#include <string>

namespace tavlix::test {

void SetEnvVariable(const std::string& name, const std::optional<std::string>& value);

}  // namespace tavlix::test
