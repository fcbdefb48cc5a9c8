#include "platform/folder_nesting.h"

#include <gtest/gtest.h>

namespace tavlix::platform {
namespace {

namespace fs = std::filesystem;

TEST(FolderNesting, InsideFolderComparesWholeNormalisedNames) {
  const fs::path cwd = fs::current_path();
  EXPECT_TRUE(IsInsideFolder("/a/b/c", "/a/b"));
  EXPECT_TRUE(IsInsideFolder("/a/b/", "/a/b"));
  EXPECT_TRUE(IsInsideFolder("/a/b", "/a/b/"));
  EXPECT_TRUE(IsInsideFolder("/a/x/../b/./c", "/a/b"));
  EXPECT_TRUE(IsInsideFolder("/anything", "/"));
  EXPECT_FALSE(IsInsideFolder("/a/bc", "/a/b"));
  EXPECT_FALSE(IsInsideFolder("/a", "/a/b"));
  // Windows paths have a drive (a root name); their names ignore case.
  EXPECT_EQ(IsInsideFolder("/A/b", "/a/b"), fs::absolute("/").has_root_name())
      << "names keep their case on Linux, not on Windows";
  EXPECT_TRUE(IsInsideFolder("sub", cwd)) << "relative to the working folder";
}

}  // namespace
}  // namespace tavlix::platform
