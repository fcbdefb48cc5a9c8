#include "platform/attributes.h"

#include <gtest/gtest.h>
#include <sys/xattr.h>

#include "support/temp_dir.h"

namespace tavlix::platform {
namespace {

bool UserXattrsWork(const std::filesystem::path& where) {
  return ::setxattr(where.c_str(), "user.tavlix-probe", "1", 1, 0) == 0 &&
         ::removexattr(where.c_str(), "user.tavlix-probe") == 0;
}

class Attributes : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(folder_);
    if (!UserXattrsWork(folder_)) GTEST_SKIP() << "this file system keeps no user attributes";
  }
  test::TempDir dir_;
  std::filesystem::path folder_ = dir_ / "cmd";
};

TEST_F(Attributes, HiddenRoundTripAndNormalClearsIt) {
  EXPECT_EQ(GetAttributes(folder_), kAttrDirectory);
  ASSERT_TRUE(SetAttributes(folder_, kAttrHidden));
  EXPECT_EQ(GetAttributes(folder_), kAttrHidden | kAttrDirectory);
  ASSERT_TRUE(SetAttributes(folder_, kAttrNormal));
  EXPECT_EQ(GetAttributes(folder_) & kAttrHidden, 0u);
  ASSERT_TRUE(SetAttributes(folder_, kAttrNormal)) << "clearing twice is fine";
}

TEST_F(Attributes, SettingReplacesEveryOtherBit) {
  ASSERT_TRUE(SetAttributes(folder_, kAttrHidden | kAttrSystem | kAttrArchive));
  ASSERT_TRUE(SetAttributes(folder_, kAttrHidden));
  EXPECT_EQ(GetAttributes(folder_), kAttrHidden | kAttrDirectory);
  char text[32] = {};
  ASSERT_GT(::getxattr(folder_.c_str(), "user.DOSATTRIB", text, sizeof text - 1), 0);
  EXPECT_STREQ(text, "0x2");
}

TEST_F(Attributes, ReadsValuesWrittenTheWayWineAndSambaWriteThem) {
  // Wine: "0x12" text; Samba: the text, a NUL and a binary blob behind it.
  ASSERT_EQ(::setxattr(folder_.c_str(), "user.DOSATTRIB", "0x12", 4, 0), 0);
  EXPECT_NE(GetAttributes(folder_) & kAttrHidden, 0u);
  const char samba[] = "0x10\0\x03\x00\x02\xff";
  ASSERT_EQ(::setxattr(folder_.c_str(), "user.DOSATTRIB", samba, sizeof samba - 1, 0), 0);
  EXPECT_EQ(GetAttributes(folder_) & kAttrHidden, 0u);
}

TEST(AttributesMissing, FailedReadCountsAsHiddenAndSetFails) {
  test::TempDir dir;
  EXPECT_EQ(GetAttributes(dir / "absent"), kInvalidAttributes);
  EXPECT_NE(GetAttributes(dir / "absent") & kAttrHidden, 0u);
  EXPECT_FALSE(SetAttributes(dir / "absent", kAttrHidden));
}

TEST(DosAttribText, ParsesLeadingHexOnly) {
  std::uint32_t bits = 0;
  EXPECT_TRUE(ParseDosAttribText("0x22", 4, bits));
  EXPECT_EQ(bits, 0x22u);
  EXPECT_TRUE(ParseDosAttribText("0X2F\0garbage", 12, bits));
  EXPECT_EQ(bits, 0x2Fu);
  EXPECT_TRUE(ParseDosAttribText("0x2 trailing", 12, bits));
  EXPECT_EQ(bits, 0x2u);
  EXPECT_FALSE(ParseDosAttribText("0x", 2, bits));
  EXPECT_FALSE(ParseDosAttribText("22", 2, bits));
  EXPECT_FALSE(ParseDosAttribText("0x123456789", 11, bits)) << "more than 32 bits";
  EXPECT_FALSE(ParseDosAttribText("\0x2", 3, bits));
}

}  // namespace
}  // namespace tavlix::platform
