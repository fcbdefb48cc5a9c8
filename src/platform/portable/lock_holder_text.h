// The line a lock's holder writes into the lock (platform/process_lock.h):
// "<process id> <program>\n". Internal to the platform layer; thread-safe.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/process_lock.h"

namespace tavlix::platform {

// A reader looks at no more of the lock than this.
constexpr std::size_t kHolderTextLimit = 512;

// This process's line, the program's name cut to 200 bytes.
std::string HolderLine(std::string_view program);

// The holder a lock's text names; pid 0 and no program when the text is no
// such line.
LockHolder ParseHolderLine(std::string_view text);

}  // namespace tavlix::platform
