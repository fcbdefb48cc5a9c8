#include "platform/profile_encoding.h"

#include <gtest/gtest.h>

namespace tavlix::platform {
namespace {

// A table saved in a code page must not pass for UTF-8, nor UTF-8 for a code
// page: each wrong guess shows every non-ASCII text garbled.
TEST(ProfileEncoding, Utf8WhenMarkedOrValidThroughoutElseTheCodePage) {
  const std::pair<std::string_view, ProfileEncoding> cases[] = {
      {"[language]\nstr_scan=Scan\n", ProfileEncoding::utf8},
      {"str=Gr\xC3\xBC\xC3\x9F"
       "e \xE6\xBC\xA2 \xF0\x9F\x98\x80",
       ProfileEncoding::utf8},
      {"\xEF\xBB\xBFstr=Gr\xFC\xDF"
       "e",
       ProfileEncoding::utf8},  // marked: taken as UTF-8
      {"str=Gr\xFC\xDF"
       "e",
       ProfileEncoding::system_code_page},                          // cp1252 umlauts
      {"str=\xC3", ProfileEncoding::system_code_page},              // cut short
      {"str=\xC0\xAF", ProfileEncoding::system_code_page},          // overlong '/'
      {"str=\xED\xA0\x80", ProfileEncoding::system_code_page},      // a surrogate
      {"str=\xF4\x90\x80\x80", ProfileEncoding::system_code_page},  // above U+10FFFF
      {"str=\x82\xA0\x82\xA2", ProfileEncoding::system_code_page},  // Shift-JIS
  };
  for (const auto& [bytes, expected] : cases) EXPECT_EQ(DetectProfileEncoding(bytes), expected) << bytes;
}

TEST(ProfileEncoding, AMarkedFileStaysUtf8WhenWritten) {
  const std::string marked = "\xEF\xBB\xBF[s]\nk=1\n";
  EXPECT_EQ(ProfileTextToBytes("\xEF\xBB\xBF[s]\nk=\xC3\xA4\n", marked), "\xEF\xBB\xBF[s]\nk=\xC3\xA4\n");
}

}  // namespace
}  // namespace tavlix::platform
