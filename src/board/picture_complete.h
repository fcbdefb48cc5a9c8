// Whether the board has finished writing a picture, told by the picture's own
// structure from its last bytes. The board writes a file from front to back,
// in place, so a file that ends with its closing mark is whole.
// Pure; thread-safe.
#pragma once

#include <cstdint>
#include <span>

namespace tavlix::board {

// True when the bytes end as a finished picture of `kind` (an ImageType of
// picture_listing.h): a PNG with its IEND chunk, a JPEG with its end-of-image
// marker, a board PDF with its %%EOF marker (only line ends after it). False
// means the structure cannot tell: the file may be growing, or damaged.
bool EndsComplete(int kind, std::span<const std::uint8_t> bytes);

}  // namespace tavlix::board
