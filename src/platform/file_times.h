// File creation times and local-time conversion. Thread-safe.
#pragma once

#include <chrono>
#include <filesystem>
#include <optional>

#include "platform/clock.h"

namespace tavlix::platform {

// When the file was created (its birth time); where the file system records
// none, when it was last modified. nullopt when the file cannot be inspected.
std::optional<WallTime> FileCreationTime(const std::filesystem::path& path);

struct LocalTime {
  int year = 0;
  int month = 0;  // 1..12
  int day = 0;    // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

// The time in the machine's local time zone.
LocalTime ToLocalTime(WallTime time);

}  // namespace tavlix::platform
