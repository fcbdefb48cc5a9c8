#include "board/collector_lock.h"

#include <cstdint>
#include <cstdio>
#include <string_view>

#include "board/drive_discovery.h"
#include "board/link_state.h"

namespace tavlix::board {

std::string CollectorLockName(const std::string& root) {
  // FNV-1a: the same name for the same root in every build and on every system.
  std::uint64_t hash = 14695981039346656037ull;
  for (const char c : root) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ull;
  }
  char name[40];
  std::snprintf(name, sizeof name, "tavlix-board-%016llx.lock", static_cast<unsigned long long>(hash));
  return name;
}

std::optional<std::filesystem::path> PictureRecordPath(const std::string& root) {
  const auto folder = platform::UserRuntimeFolder();
  if (!folder) return std::nullopt;
  std::string name = CollectorLockName(root);
  name.replace(name.size() - std::string_view(".lock").size(), std::string::npos, ".pictures");
  return *folder / name;
}

std::optional<platform::LockHolder> BoardCollector(const std::string& root) {
  const auto folder = platform::UserRuntimeFolder();
  if (!folder) return std::nullopt;
  return platform::ProcessLock::Holder(*folder, CollectorLockName(root));
}

CollectorLock::Claim CollectorLock::ClaimPresentBoard() {
  std::string model, root;
  const bool found = GetTargetDrive(model, root);
  Link().Connected = found;
  if (!found) return Claim::no_board;
  if (lock_ && root == root_) return Claim::held;
  lock_.reset();
  root_.clear();
  platform::ProcessLock lock = platform::ProcessLock::TryTake(CollectorLockName(root), program_);
  switch (lock.state()) {
    case platform::ProcessLock::State::held:
      lock_.emplace(std::move(lock));
      root_ = root;
      return Claim::held;
    case platform::ProcessLock::State::taken: holder_ = lock.holder(); return Claim::taken;
    case platform::ProcessLock::State::unavailable: break;
  }
  error_ = lock.error();
  return Claim::unavailable;
}

}  // namespace tavlix::board
