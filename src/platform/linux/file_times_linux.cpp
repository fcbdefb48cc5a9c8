#include <fcntl.h>
#include <sys/stat.h>

#include <ctime>

#include "platform/file_times.h"

namespace tavlix::platform {
namespace {

WallTime FromTimestamp(std::int64_t seconds, std::uint32_t nanoseconds) {
  return WallTime{} + std::chrono::duration_cast<WallTime::duration>(std::chrono::seconds(seconds) +
                                                                     std::chrono::nanoseconds(nanoseconds));
}

}  // namespace

std::optional<WallTime> FileCreationTime(const std::filesystem::path& path) {
  struct statx info {};
  if (::statx(AT_FDCWD, path.c_str(), 0, STATX_BTIME | STATX_MTIME, &info) != 0) return std::nullopt;
  if ((info.stx_mask & STATX_BTIME) != 0) return FromTimestamp(info.stx_btime.tv_sec, info.stx_btime.tv_nsec);
  return FromTimestamp(info.stx_mtime.tv_sec, info.stx_mtime.tv_nsec);
}

LocalTime ToLocalTime(WallTime time) {
  const auto since_epoch = time.time_since_epoch();
  auto seconds = std::chrono::floor<std::chrono::seconds>(since_epoch);
  const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(since_epoch - seconds);
  const std::time_t t = static_cast<std::time_t>(seconds.count());
  std::tm tm{};
  ::localtime_r(&t, &tm);
  return LocalTime{tm.tm_year + 1900,
                   tm.tm_mon + 1,
                   tm.tm_mday,
                   tm.tm_hour,
                   tm.tm_min,
                   tm.tm_sec,
                   static_cast<int>(millis.count())};
}

}  // namespace tavlix::platform
