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
  const std::string x = PathToUtf8(a.root_name());
  const std::string y = PathToUtf8(b.root_name());
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

}  // namespace tavlix::platform
