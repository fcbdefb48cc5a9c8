#include "platform/process_lock.h"

#include <cstdlib>
#include <utility>

#include "platform/portable/lock_holder_text.h"
#include "platform/process.h"

namespace tavlix::platform {

std::string DescribeHolder(const LockHolder& holder) {
  std::string program = holder.program.empty() ? "another program" : holder.program;
  if (holder.pid <= 0) return program;
  return program + " (process " + std::to_string(holder.pid) + ")";
}

std::string HolderLine(std::string_view program) {
  return std::to_string(ProcessId()) + " " + std::string(program.substr(0, 200)) + "\n";
}

LockHolder ParseHolderLine(std::string_view text) {
  LockHolder holder;
  const std::size_t space = text.find(' ');
  if (space == std::string_view::npos) return holder;
  holder.pid = std::atoll(std::string(text.substr(0, space)).c_str());
  holder.program = text.substr(space + 1);
  while (!holder.program.empty() && (holder.program.back() == '\n' || holder.program.back() == '\r'))
    holder.program.pop_back();
  return holder;
}

ProcessLock::ProcessLock(ProcessLock&& other) noexcept
    : state_(std::exchange(other.state_, State::unavailable)),
      handle_(std::move(other.handle_)),
      holder_(std::move(other.holder_)),
      error_(std::move(other.error_)) {}

ProcessLock& ProcessLock::operator=(ProcessLock&& other) noexcept {
  if (this != &other) {
    state_ = std::exchange(other.state_, State::unavailable);
    handle_ = std::move(other.handle_);
    holder_ = std::move(other.holder_);
    error_ = std::move(other.error_);
  }
  return *this;
}

ProcessLock::~ProcessLock() = default;

ProcessLock ProcessLock::TryTake(std::string_view name, std::string_view program) {
  auto folder = UserRuntimeFolder();
  if (!folder) {
    ProcessLock lock;
    lock.error_ = folder.error();
    return lock;
  }
  return TryTake(*folder, name, program);
}

}  // namespace tavlix::platform
