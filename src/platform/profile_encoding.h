// How a profile file's bytes are taken as text and put back.
//
// The program keeps text in UTF-8. A profile file is UTF-8 when it starts with
// a UTF-8 byte-order mark or is valid UTF-8 throughout; otherwise it is in the
// system's code page (Windows' ANSI code page; Linux has UTF-8 only, and such
// bytes are kept as they are). A file is written back in the code page unless
// it was marked UTF-8 or a value needs characters the code page lacks.
// Pure functions over bytes, except for the system's conversions. Thread-safe.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tavlix::platform {

enum class ProfileEncoding { utf8, system_code_page };

// Whether `bytes` is well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// How the bytes of a file read: UTF-8 after a byte-order mark or when valid
// throughout, else the system's code page.
ProfileEncoding DetectProfileEncoding(std::string_view bytes);

// The file's text in UTF-8 (a byte-order mark stays where it was).
std::string ProfileBytesToText(std::string_view bytes);

// The bytes to store for `text` (UTF-8) in a file that read as `was`: UTF-8
// when the file was marked so or the code page lacks a character, else the
// code page.
std::string ProfileTextToBytes(std::string_view text, std::string_view was);

// The system's conversions (one a backend): the code page's bytes as UTF-8,
// and UTF-8 in the code page, nullopt when a character has no exact
// equivalent there.
std::string SystemCodePageToUtf8(std::string_view bytes);
std::optional<std::string> Utf8ToSystemCodePage(std::string_view text);

}  // namespace tavlix::platform
