#include <gtest/gtest.h>
#include <windows.h>

#include "platform/profile_file.h"
#include "support/odd_files.h"
#include "support/temp_dir.h"

namespace tavlix::platform {
namespace {

// A table saved in the ANSI code page and one saved in UTF-8 both read as
// the same text; a written file stays in the code page until a value needs a
// character it lacks.
TEST(ProfileCodePage, TablesInTheCodePageOrUtf8ReadAlikeAndWritesStayInTheCodePage) {
  if (::GetACP() != 1252) GTEST_SKIP() << "the system's code page is " << ::GetACP() << ", not 1252";
  test::TempDir dir;
  const auto cp1252 = dir / "cp1252.ini";
  const auto utf8 = dir / "utf8.ini";
  test::WriteFile(cp1252, "[language]\r\nstr_scan=Einlesen \xFC\xE4\xF6\xDF \x80\r\n");
  test::WriteFile(utf8, "[language]\r\nstr_scan=Einlesen \xC3\xBC\xC3\xA4\xC3\xB6\xC3\x9F \xE2\x82\xAC\r\n");
  const std::string expected = "Einlesen \xC3\xBC\xC3\xA4\xC3\xB6\xC3\x9F \xE2\x82\xAC";
  EXPECT_EQ(ProfileReadString("language", "str_scan", "", 1024, cp1252), expected);
  EXPECT_EQ(ProfileReadString("language", "str_scan", "", 1024, utf8), expected);

  const auto settings = dir / "setup.ini";
  ASSERT_TRUE(ProfileWriteString("setting", "savepath", "C:\\Bilder \xC3\xBC", settings).ok());
  EXPECT_EQ(test::ReadText(settings), "[setting]\nsavepath=C:\\Bilder \xFC\n") << "in the code page";
  ASSERT_TRUE(ProfileWriteString("setting", "savepath", "C:\\\xE6\xBC\xA2 \xC3\xBC", settings).ok());
  EXPECT_EQ(test::ReadText(settings), "[setting]\nsavepath=C:\\\xE6\xBC\xA2 \xC3\xBC\n") << "needs UTF-8";
  EXPECT_EQ(ProfileReadString("setting", "savepath", "", 1024, settings), "C:\\\xE6\xBC\xA2 \xC3\xBC");
}

}  // namespace
}  // namespace tavlix::platform
