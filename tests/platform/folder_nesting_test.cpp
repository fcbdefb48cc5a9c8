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
  EXPECT_FALSE(IsInsideFolder("/A/b", "/a/b")) << "names keep their case on Linux";
  EXPECT_TRUE(IsInsideFolder("sub", cwd)) << "relative to the working folder";
}

}  // namespace
}  // namespace tavlix::platform
