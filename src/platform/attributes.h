// Folder attributes: the turn signal between the computer and the board.
//
// Values are the familiar DOS/FAT attribute bits. On a vfat mount they are the
// real FAT attributes (read and written through the FAT ioctls); elsewhere they
// live in the extended attribute "user.DOSATTRIB" as "0x<hex>" text, which is
// what Wine and Samba use, so a folder hidden by either is seen as hidden here.
// Thread-safe.
#pragma once

#include <cstdint>
#include <filesystem>

#include "platform/files.h"

namespace tavlix::platform {

inline constexpr std::uint32_t kAttrReadOnly = 0x1;
inline constexpr std::uint32_t kAttrHidden = 0x2;
inline constexpr std::uint32_t kAttrSystem = 0x4;
inline constexpr std::uint32_t kAttrDirectory = 0x10;
inline constexpr std::uint32_t kAttrArchive = 0x20;
inline constexpr std::uint32_t kAttrNormal = 0x80;  // "no attributes"; stored as no bits
// What a failed read returns: every bit set, so it counts as hidden.
inline constexpr std::uint32_t kInvalidAttributes = 0xFFFFFFFF;

// The attributes of a file or folder; kAttrDirectory is included for folders,
// and kAttrNormal stands for "none". kInvalidAttributes when it cannot be read,
// and for a link: a link's target is never looked at.
std::uint32_t GetAttributes(const std::filesystem::path& path);
std::uint32_t GetAttributes(const FolderHandle& folder);

// Replaces the attributes with exactly `attributes` (kAttrNormal clears them;
// the directory bit is ignored). false when they cannot be set, and for a
// link: a link's target is never changed.
bool SetAttributes(const std::filesystem::path& path, std::uint32_t attributes);
bool SetAttributes(const FolderHandle& folder, std::uint32_t attributes);

// Parses the text of a "user.DOSATTRIB" value: a leading "0x<hex>", anything
// after a NUL ignored. Returns false when the text is not of that form.
bool ParseDosAttribText(const char* data, std::size_t size, std::uint32_t& attributes);

}  // namespace tavlix::platform
