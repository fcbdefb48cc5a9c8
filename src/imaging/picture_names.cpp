#include "imaging/picture_names.h"

#include <algorithm>
#include <cstdio>

#include "platform/path_text.h"

namespace tavlix::imaging {
namespace {

// Anything at the name counts as taken, a dangling link included: the final
// rename would refuse it.
bool NameTaken(const std::filesystem::path& path) {
  std::error_code ec;
  const auto type = std::filesystem::symlink_status(path, ec).type();
  return type != std::filesystem::file_type::not_found && type != std::filesystem::file_type::none;
}

constexpr int kMaxCounter = 100000;

}  // namespace

std::string TimeStampName(const platform::LocalTime& t) {
  char text[64];
  std::snprintf(text, sizeof text, "%04d%02d%02d_%02d%02d%02d", t.year, t.month, t.day, t.hour, t.minute,
                t.second);
  return text;
}

std::string BaseName(std::string_view stamp, int counter) {
  std::string base(stamp);
  if (counter > 0) base += "-" + std::to_string(counter);
  return base;
}

Result<int> FreeBaseCounter(const std::filesystem::path& folder, std::string_view stamp,
                            std::span<const std::string> suffixes, int first) {
  for (int counter = first; counter <= kMaxCounter; ++counter) {
    const std::string base = BaseName(stamp, counter);
    if (std::ranges::none_of(suffixes,
                             [&](const std::string& suffix) { return NameTaken(folder / (base + suffix)); }))
      return counter;
  }
  return Fail("no free name for " + std::string(stamp) + " in " + platform::PathToUtf8(folder),
              ErrorKind::name_taken);
}

Result<std::string> ChooseFreeBase(const std::filesystem::path& folder, std::string_view stamp,
                                   std::span<const std::string> suffixes) {
  const auto counter = FreeBaseCounter(folder, stamp, suffixes, 0);
  if (!counter) return counter.failure();
  return BaseName(stamp, *counter);
}

std::filesystem::path PagePath(const std::filesystem::path& first_page, int page) {
  std::string text = platform::PathToUtf8(first_page);
  if (page < 2 || text.size() < 4) return first_page;
  text.insert(text.size() - 4, "_" + std::to_string(page));
  return platform::PathFromUtf8(text);
}

std::filesystem::path WithLastFourCharactersReplaced(const std::filesystem::path& path,
                                                     std::string_view extension) {
  std::string text = platform::PathToUtf8(path);
  text.resize(text.size() >= 4 ? text.size() - 4 : 0);
  text += extension;
  return platform::PathFromUtf8(text);
}

}  // namespace tavlix::imaging
