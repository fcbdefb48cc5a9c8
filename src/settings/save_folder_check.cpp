#include "settings/save_folder_check.h"

#include <algorithm>
#include <vector>

#include "platform/files.h"
#include "platform/path_text.h"
#include "platform/write_probe.h"
#include "settings/settings_file.h"

namespace tavlix::settings {
namespace {

namespace fs = std::filesystem;

// The absolute path with ".", ".." and symbolic links resolved as far as the
// path exists; lexically normalised where that fails.
fs::path Normalised(const fs::path& path) {
  std::error_code ec;
  fs::path absolute = fs::absolute(path, ec);
  if (ec) absolute = path;
  fs::path real = fs::weakly_canonical(absolute, ec);
  return ec ? absolute.lexically_normal() : real;
}

// The path's names below its root, without the empty name that a trailing
// separator leaves.
std::vector<fs::path> Names(const fs::path& path) {
  std::vector<fs::path> names;
  for (const fs::path& name : path.relative_path())
    if (!name.empty()) names.push_back(name);
  return names;
}

bool SameRootName(const fs::path& a, const fs::path& b) {
  const std::string x = platform::PathToUtf8(a.root_name());
  const std::string y = platform::PathToUtf8(b.root_name());
  auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
  return std::ranges::equal(x, y, [&](char p, char q) { return lower(p) == lower(q); });
}

}  // namespace

bool IsInsideFolder(const fs::path& path, const fs::path& folder) {
  const fs::path inner = Normalised(path);
  const fs::path outer = Normalised(folder);
  if (!SameRootName(inner, outer) || inner.has_root_directory() != outer.has_root_directory()) return false;
  const std::vector<fs::path> inner_names = Names(inner);
  const std::vector<fs::path> outer_names = Names(outer);
  return outer_names.size() <= inner_names.size() &&
         std::equal(outer_names.begin(), outer_names.end(), inner_names.begin());
}

SaveFolderCheck CheckSaveFolder(const std::string& folder, const BoardRootLookup& board_drive_root) {
  if (folder.empty()) return SaveFolderCheck::empty;
  if (folder.size() >= kSavePathBufferSize ||
      folder.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos)
    return SaveFolderCheck::cannot_be_stored;
  const fs::path path = platform::PathFromUtf8(folder);
  if (!platform::DirectoryExists(path)) return SaveFolderCheck::not_a_folder;
  if (!platform::ProbeFolderWritable(path)) return SaveFolderCheck::not_writable;
  if (const auto root = board_drive_root(); root && IsInsideFolder(path, platform::PathFromUtf8(*root)))
    return SaveFolderCheck::on_board_drive;
  return SaveFolderCheck::accepted;
}

std::string_view SaveFolderCheckReason(SaveFolderCheck check) {
  switch (check) {
    case SaveFolderCheck::accepted: return "";
    case SaveFolderCheck::empty: return "no folder given";
    case SaveFolderCheck::cannot_be_stored:
      return "the settings file cannot keep a folder name with a line break or over 1023 characters";
    case SaveFolderCheck::not_a_folder: return "not an existing folder";
    case SaveFolderCheck::on_board_drive: return "the folder is on the board's drive";
    case SaveFolderCheck::not_writable: return "no file can be created in the folder";
  }
  return "";
}

}  // namespace tavlix::settings
