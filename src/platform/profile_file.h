// Profile (INI) files, read and written one value at a time, as the settings
// file and the localisation file are.
//
// The two operations are those of the platform's private-profile services, so
// that a backend may call them directly; the rules of the format are listed
// in platform/portable/profile_text.h. Thread-safe. Texts are UTF-8 and never hold a
// NUL; the file's bytes are taken and written as platform/profile_encoding.h
// says (the system's code page where it is not UTF-8).
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/result.h"
#include "platform/files.h"

namespace tavlix::platform {

// The value of `key` in `section` of `file`, cut to at most buffer_size - 1
// characters; nullopt when the file, the section or the key is missing or the
// file cannot be read. With Links::refuse a file that is a link is not read.
std::optional<std::string> ProfileReadValue(std::string_view section, std::string_view key,
                                            std::size_t buffer_size, const std::filesystem::path& file,
                                            Links links = Links::follow);

// Reads `key` of `section` from `file` as a read into a buffer of
// `buffer_size` bytes would: the value, or `default_text` when the file, the
// section or the key is missing (or the file cannot be read), cut to at most
// buffer_size - 1 characters. A key present with an empty value gives the
// empty text. Never fails.
std::string ProfileReadString(std::string_view section, std::string_view key, std::string_view default_text,
                              std::size_t buffer_size, const std::filesystem::path& file);

// Sets `key` of `section` in `file` to `value`, creating the file, the section
// and the key as needed and leaving every other byte of the file as it was
// (see SetProfileValue). The file is replaced atomically, so a crash leaves
// the old or the new file. Fails, leaving the file untouched, when its folder
// is missing, the file exists but cannot be read (its contents would be lost),
// the file cannot be written, or a name or the value cannot be stored.
Status ProfileWriteString(std::string_view section, std::string_view key, std::string_view value,
                          const std::filesystem::path& file);

// Whether `path` itself (not what it names) is a symbolic link, a junction or
// another reparse point. The machine's files and folders are read only where
// none is.
bool IsLinkEntry(const std::filesystem::path& path);

}  // namespace tavlix::platform
