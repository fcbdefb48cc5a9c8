#include "platform/file_times.h"
#include "platform/windows/file_time_conversion.h"

namespace tavlix::platform {
namespace {

using Ticks = std::chrono::duration<std::int64_t, std::ratio<1, 10'000'000>>;
constexpr Ticks kUnixEpochInFileTime{116'444'736'000'000'000};

}  // namespace

WallTime FromFileTime(const FILETIME& time) {
  const std::uint64_t ticks = (std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
  // A time beyond WallTime's range (after 2262; a board may write any) is
  // its last moment.
  constexpr auto kLast = std::chrono::floor<Ticks>(WallTime::max().time_since_epoch()) + kUnixEpochInFileTime;
  if (ticks > static_cast<std::uint64_t>(kLast.count())) return WallTime::max();
  const Ticks since_epoch = Ticks{static_cast<std::int64_t>(ticks)} - kUnixEpochInFileTime;
  return WallTime{} + std::chrono::duration_cast<WallTime::duration>(since_epoch);
}

FILETIME ToFileTime(WallTime time) {
  // WallTime's nanoseconds reach back to 1677 only, well after 1601.
  const auto ticks = std::chrono::floor<Ticks>(time.time_since_epoch()) + kUnixEpochInFileTime;
  const auto value = static_cast<std::uint64_t>(ticks.count());
  return FILETIME{static_cast<DWORD>(value & 0xFFFFFFFFu), static_cast<DWORD>(value >> 32)};
}

WallTime CreationOrWriteTime(const FILETIME& created, const FILETIME& written) {
  return FromFileTime(created.dwHighDateTime == 0 && created.dwLowDateTime == 0 ? written : created);
}

std::optional<WallTime> FileCreationTime(const std::filesystem::path& path) {
  // Reading attributes alone never meets a sharing violation, so a file the
  // board holds still has its time; a reparse point is inspected, not followed.
  UniqueHandle file(::CreateFileW(
      path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!file) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(file.get(), &info)) return std::nullopt;
  return CreationOrWriteTime(info.ftCreationTime, info.ftLastWriteTime);
}

LocalTime ToLocalTime(WallTime time) {
  const FILETIME utc = ToFileTime(time);
  SYSTEMTIME universal{};
  SYSTEMTIME local{};
  // The zone's rules for that date (summer time included), as localtime does.
  if (!::FileTimeToSystemTime(&utc, &universal) ||
      !::SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local))
    return LocalTime{};
  const auto millis = std::chrono::floor<std::chrono::milliseconds>(time.time_since_epoch()) -
                      std::chrono::floor<std::chrono::seconds>(time.time_since_epoch());
  return LocalTime{local.wYear,
                   local.wMonth,
                   local.wDay,
                   local.wHour,
                   local.wMinute,
                   local.wSecond,
                   static_cast<int>(millis.count())};
}

}  // namespace tavlix::platform
