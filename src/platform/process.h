// The running process.
#pragma once

#include <cstdint>

namespace tavlix::platform {

// This process's id, as the system shows it.
std::uint32_t ProcessId();

}  // namespace tavlix::platform
