#include "imaging/stale_temporaries.h"

#include <string>
#include <string_view>

#include "imaging/safe_save.h"
#include "platform/path_text.h"

namespace tavlix::imaging {
namespace fs = std::filesystem;

bool IsPendingFileName(const std::string& name) {
  const std::string_view prefix = kPendingPrefix;
  const std::string_view suffix = kPendingSuffix;
  if (name.size() <= prefix.size() + suffix.size() || !name.starts_with(prefix) || !name.ends_with(suffix))
    return false;
  // "<pid>-<n>-<random>": three runs of digits.
  const std::string_view middle =
      std::string_view(name).substr(prefix.size(), name.size() - prefix.size() - suffix.size());
  int runs = 1;
  bool digit_before = false;
  for (const char c : middle) {
    if (c == '-') {
      if (!digit_before) return false;
      ++runs;
      digit_before = false;
    } else if (c >= '0' && c <= '9') {
      digit_before = true;
    } else {
      return false;
    }
  }
  return runs == 3 && digit_before;
}

namespace {

// The files a killed save left in its staging folder; anything else there
// keeps the folder.
void RemoveStagedFiles(const fs::path& stage) {
  std::error_code ec;
  for (fs::directory_iterator it(stage, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code item_ec;
    if (fs::symlink_status(it->path(), item_ec).type() == fs::file_type::regular)
      fs::remove(it->path(), item_ec);
  }
}

}  // namespace

std::vector<fs::path> RemoveStaleTemporaries(const fs::path& folder, platform::WallTime now) {
  std::vector<fs::path> removed;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const fs::path& path = it->path();
    if (!IsPendingFileName(platform::PathToUtf8(path.filename()))) continue;
    std::error_code item_ec;
    const auto type = fs::symlink_status(path, item_ec).type();
    if (type != fs::file_type::regular && type != fs::file_type::directory) continue;
    const auto written = fs::last_write_time(path, item_ec);
    if (item_ec) continue;
    if (now - std::chrono::file_clock::to_sys(written) < kStaleTemporaryAge) continue;
    if (type == fs::file_type::directory) RemoveStagedFiles(path);
    if (fs::remove(path, item_ec)) removed.push_back(path);
  }
  return removed;
}

}  // namespace tavlix::imaging
