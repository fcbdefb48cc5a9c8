#include "platform/portable/device_names.h"

#include <cctype>

namespace tavlix::platform {
namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

// A port number: a digit, or the superscripts 1, 2 and 3 in UTF-8.
bool IsPortNumber(std::string_view text) {
  if (text.size() == 1) return text[0] >= '0' && text[0] <= '9';
  return text == "\u00b9" || text == "\u00b2" || text == "\u00b3";
}

}  // namespace

bool IsDeviceName(std::string_view name) {
  std::string_view base = name.substr(0, name.find('.'));
  while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
  for (const std::string_view device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"})
    if (SameIgnoringCase(base, device)) return true;
  if (base.size() < 4) return false;
  const std::string_view prefix = base.substr(0, 3);
  return (SameIgnoringCase(prefix, "COM") || SameIgnoringCase(prefix, "LPT")) && IsPortNumber(base.substr(3));
}

}  // namespace tavlix::platform
