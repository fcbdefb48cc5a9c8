// The text of a profile (INI) file: finding one value and setting one value.
//
// Pure functions over the file's bytes, used by the Linux profile-file backend
// (and fuzzed). The rules are those of the platform's private-profile
// operations, which the settings and localisation files were written for:
// - Lines end with LF or CR LF. A UTF-8 byte-order mark before the first line
//   is skipped. A line's text ends at its first NUL byte.
// - "[name]" starts a section; text after the ']' is ignored.
// - "key=value" (split at the first '=') is an entry; a line whose first
//   non-blank character is ';' is a comment; other lines without '=' are
//   ignored, and so are entries before the first section.
// - Blanks (space, tab, CR, VT, FF) around names and values are trimmed; a
//   value wrapped in a pair of matching double or single quotes loses them.
// - Names compare without regard to ASCII case. Of duplicate sections only
//   the first is consulted, and in it the first of duplicate keys.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/result.h"

namespace tavlix::platform {

// The value of `key` in `section`, or nullopt when the section or the key is
// missing. The view points into `text`.
std::optional<std::string_view> FindProfileValue(std::string_view text, std::string_view section,
                                                 std::string_view key);

// The file's text with `key` of `section` set to `value`. An existing entry
// has its value replaced in place; a missing key is added after the last entry
// of the section; a missing section is added, with the key, at the end. Every
// other byte stays as it was, and new lines end the way the file's first line
// does (LF for a file without one). A value that would not read back
// unchanged (blanks at either end, or wrapped in matching quotes) is written
// inside double quotes, which the reader removes.
// Fails, changing nothing, for a name that could not be read back (empty,
// blanks at either end, a line break, ']' in a section, '=' in a key, a key
// starting with '[' or ';') or a value holding a line break or a NUL.
Result<std::string> SetProfileValue(std::string_view text, std::string_view section, std::string_view key,
                                    std::string_view value);

}  // namespace tavlix::platform
