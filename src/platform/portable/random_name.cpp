#include "platform/portable/random_name.h"

#include <random>
#include <string_view>

namespace tavlix::platform {

std::string RandomFileName(std::size_t stem, std::size_t extension) {
  static constexpr std::string_view kChars = "abcdefghijklmnopqrstuvwxyz0123456789";
  thread_local std::mt19937_64 engine{std::random_device{}()};
  std::uniform_int_distribution<std::size_t> pick(0, kChars.size() - 1);
  std::string name;
  name.reserve(stem + extension + 1);
  for (std::size_t i = 0; i < stem; ++i) name += kChars[pick(engine)];
  if (extension > 0) name += '.';
  for (std::size_t i = 0; i < extension; ++i) name += kChars[pick(engine)];
  return name;
}

}  // namespace tavlix::platform
