// Text at the Win32 boundary (Windows backend only). The program keeps text
// in UTF-8; the wide-character calls take UTF-16. Thread-safe.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tavlix::platform {

// UTF-8 to UTF-16 and back; invalid sequences become U+FFFD.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);

// A path as UTF-8 text, for results and messages (never throws, unlike
// path::string(), which converts through the ANSI code page).
std::string PathText(const std::filesystem::path& path);

// The system's text for a Win32 error code ("Access is denied"), without the
// trailing period and line break; "error <n>" when the system has none.
std::string SystemErrorText(unsigned long error);

}  // namespace tavlix::platform
