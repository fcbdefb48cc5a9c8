#include <cstdlib>

#include "support/set_env.h"

namespace tavlix::test {

void SetEnvVariable(const std::string& name, const std::optional<std::string>& value) {
  if (value)
    ::setenv(name.c_str(), value->c_str(), 1);  // NOLINT(concurrency-mt-unsafe)
  else
    ::unsetenv(name.c_str());  // NOLINT(concurrency-mt-unsafe)
}

}  // namespace tavlix::test
