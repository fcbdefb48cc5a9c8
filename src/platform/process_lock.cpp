#include "platform/process_lock.h"

namespace tavlix::platform {

std::string DescribeHolder(const LockHolder& holder) {
  const std::string program = holder.program.empty() ? "another program" : holder.program;
  if (holder.pid <= 0) return program;
  return program + " (process " + std::to_string(holder.pid) + ")";
}

}  // namespace tavlix::platform
