// Random file names for temporary and probe files. Thread-safe.
#pragma once

#include <cstddef>
#include <string>

namespace tavlix::platform {

// `stem` random lower-case letters and digits, a dot, and `extension` more
// (8 and 3 give names such as "k3v9x0ab.q2z"). No dot when `extension` is 0.
std::string RandomFileName(std::size_t stem, std::size_t extension);

}  // namespace tavlix::platform
