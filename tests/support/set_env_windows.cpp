#include <cstdlib>

#include "support/set_env.h"

namespace tavlix::test {

// The C runtime removes a variable set to the empty string.
void SetEnvVariable(const std::string& name, const std::optional<std::string>& value) {
  ::_putenv_s(name.c_str(), value ? value->c_str() : "");
}

}  // namespace tavlix::test
