// Adler-32, the checksum that ends every zlib stream, computed 16 bytes at a
// time where the processor has SSE2 (zlib's own loop takes a byte at a time
// and was a third of inflating a board page). Same results as zlib's
// adler32(); pure and thread-safe.
#pragma once

#include <cstdint>
#include <span>

namespace tavlix::imaging {

// The checksum of `bytes` continued from `adler` (1 for a new stream).
std::uint32_t Adler32(std::uint32_t adler, std::span<const std::uint8_t> bytes);

}  // namespace tavlix::imaging
