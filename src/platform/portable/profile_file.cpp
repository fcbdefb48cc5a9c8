#include "platform/profile_file.h"

#include <algorithm>
#include <cstdint>

#include "platform/atomic_file.h"
#include "platform/files.h"
#include "platform/path_text.h"
#include "platform/portable/profile_text.h"
#include "platform/profile_encoding.h"
#include "platform/profile_file_backend.h"

namespace tavlix::platform {
namespace {

// Far above any profile file; a larger one is not read (nor replaced).
constexpr std::uint64_t kMaxProfileBytes = 16u << 20;

std::string_view AsText(const std::vector<std::uint8_t>& bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

Error CannotWrite(const fs::path& file, const std::string& why) {
  return Fail("cannot write " + PathToUtf8(file) + ": " + why);
}

}  // namespace

std::optional<std::string> ProfileReadValue(std::string_view section, std::string_view key,
                                            std::size_t buffer_size, const fs::path& file, Links links) {
  if (buffer_size == 0) return std::nullopt;
  if (links == Links::refuse && IsLinkEntry(file)) return std::nullopt;
  if (!IsRegularProfileFile(file)) return std::nullopt;
  const auto bytes = ReadFileBytes(file, kMaxProfileBytes, links);
  if (!bytes) return std::nullopt;
  const std::string text = ProfileBytesToText(AsText(*bytes));
  const auto found = FindProfileValue(text, section, key);
  if (!found) return std::nullopt;
  return std::string(found->substr(0, std::min(found->size(), buffer_size - 1)));
}

std::string ProfileReadString(std::string_view section, std::string_view key, std::string_view default_text,
                              std::size_t buffer_size, const fs::path& file) {
  if (buffer_size == 0) return {};
  if (auto value = ProfileReadValue(section, key, buffer_size, file)) return std::move(*value);
  return std::string(default_text.substr(0, std::min(default_text.size(), buffer_size - 1)));
}

Status ProfileWriteString(std::string_view section, std::string_view key, std::string_view value,
                          const fs::path& file) {
  const fs::path folder = file.parent_path().empty() ? fs::path(".") : file.parent_path();
  if (!DirectoryExists(folder)) return CannotWrite(file, "the folder is missing");
  const auto lock = LockProfileFolder(folder);
  if (!lock) return CannotWrite(file, lock.error());
  std::vector<std::uint8_t> old;
  const bool existed = FileExists(file);
  if (existed && !IsRegularProfileFile(file)) return CannotWrite(file, "not a regular file");
  if (existed) {
    auto read = ReadFileBytes(file, kMaxProfileBytes, Links::follow);
    if (!read) return read.failure();
    old = std::move(*read);
  }
  auto updated = SetProfileValue(ProfileBytesToText(AsText(old)), section, key, value);
  if (!updated) return CannotWrite(file, updated.error());
  const std::string bytes = ProfileTextToBytes(*updated, AsText(old));
  if (existed && bytes == AsText(old)) return Success();
  return ReplaceFileContents(file, bytes);
}

}  // namespace tavlix::platform
