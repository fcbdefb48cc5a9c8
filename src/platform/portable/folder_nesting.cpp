#include "platform/folder_nesting.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/path_text.h"

namespace tavlix::platform {
namespace {

namespace fs = std::filesystem;

// The absolute path with ".", ".." and symbolic links resolved as far as the
// path exists; lexically normalised where that fails.
fs::path Normalised(const fs::path& path) {
  std::error_code ec;
  fs::path absolute = fs::absolute(path, ec);
  if (ec) absolute = path;
  fs::path real = fs::weakly_canonical(absolute, ec);
  // One separator throughout ("//server/share" is "\\server\share" on
  // Windows; nothing changes on Linux).
  return (ec ? absolute.lexically_normal() : real).make_preferred();
}

// The path's names below its root, without the empty name that a trailing
// separator leaves.
std::vector<fs::path> Names(const fs::path& path) {
  std::vector<fs::path> names;
  for (const fs::path& name : path.relative_path())
    if (!name.empty()) names.push_back(name);
  return names;
}

char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameWithoutCase(const fs::path& a, const fs::path& b) {
  return std::ranges::equal(PathToUtf8(a), PathToUtf8(b),
                            [](char p, char q) { return AsciiLower(p) == AsciiLower(q); });
}

}  // namespace

bool IsInsideFolder(const fs::path& path, const fs::path& folder) {
  const fs::path inner = Normalised(path);
  const fs::path outer = Normalised(folder);
  if (!SameWithoutCase(inner.root_name(), outer.root_name()) ||
      inner.has_root_directory() != outer.has_root_directory())
    return false;
  // Only Windows paths have a root name (a drive letter or a \\server): there
  // the file system, a network share's included, ignores the case of names.
  const bool ignore_case = inner.has_root_name();
  const std::vector<fs::path> inner_names = Names(inner);
  const std::vector<fs::path> outer_names = Names(outer);
  return outer_names.size() <= inner_names.size() &&
         std::equal(outer_names.begin(), outer_names.end(), inner_names.begin(),
                    [&](const fs::path& a, const fs::path& b) {
                      return ignore_case ? SameWithoutCase(a, b) : a == b;
                    });
}

}  // namespace tavlix::platform
