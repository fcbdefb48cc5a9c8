// Lengths for the C libraries, which count in `unsigned long` (zlib's uLong,
// libjpeg's memory source): 64 bits on Linux, 32 on Windows. A length that
// does not fit is refused, never cut. Thread-safe.
#pragma once

#include <cstddef>
#include <limits>
#include <optional>

namespace tavlix::imaging {

inline std::optional<unsigned long> NarrowLength(std::size_t length) {
  if (length > std::numeric_limits<unsigned long>::max()) return std::nullopt;
  return static_cast<unsigned long>(length);
}

}  // namespace tavlix::imaging
