// The profile-file reader and writer, over settings and localisation files
// that users edit by hand. Input: "section\1key\1value\1probe section\1probe
// key" on the first line, the file's text after it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/portable/profile_text.h"

namespace {

std::vector<std::string_view> Fields(std::string_view header) {
  std::vector<std::string_view> fields;
  while (fields.size() < 4) {
    const std::size_t cut = header.find('\1');
    if (cut == std::string_view::npos) break;
    fields.push_back(header.substr(0, cut));
    header.remove_prefix(cut + 1);
  }
  fields.push_back(header);
  while (fields.size() < 5) fields.push_back("setting");
  return fields;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t lf = input.find('\n');
  const std::string_view text = lf == std::string_view::npos ? std::string_view() : input.substr(lf + 1);
  const auto f = Fields(input.substr(0, lf));
  const std::string_view section = f[0], key = f[1], value = f[2], probe_section = f[3], probe_key = f[4];

  // A value read back is one line of text, never holding a NUL.
  const auto before = tavlix::platform::FindProfileValue(text, probe_section, probe_key);
  if (before && before->find_first_of(std::string_view("\n\0", 2)) != std::string_view::npos)
    __builtin_trap();

  const auto written = tavlix::platform::SetProfileValue(text, section, key, value);
  if (!written) return 0;
  // What was written reads back unchanged...
  const auto back = tavlix::platform::FindProfileValue(*written, section, key);
  if (!back || *back != value) __builtin_trap();
  // ...and every other entry reads as before.
  if (SameName(section, probe_section) && SameName(key, probe_key)) return 0;
  const auto after = tavlix::platform::FindProfileValue(*written, probe_section, probe_key);
  if (before.has_value() != after.has_value() || (before && *before != *after)) __builtin_trap();
  // The file only grows by the new entry, or changes in the one value.
  if (written->size() > text.size() + section.size() + key.size() + value.size() + 16) __builtin_trap();
  return 0;
}
