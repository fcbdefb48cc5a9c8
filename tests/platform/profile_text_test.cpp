#include "platform/portable/profile_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace tavlix::platform {
namespace {

using namespace std::string_literals;

struct ReadCase {
  const char* what;
  std::string text;
  const char* section;
  const char* key;
  std::optional<std::string> expected;
};

TEST(ProfileText, FindsValuesByTheProfileRules) {
  const std::string long_value(100000, 'v');
  const ReadCase cases[] = {
      {"plain entry", "[setting]\nsaveprm=3\n", "setting", "saveprm", "3"},
      {"names ignore case", "[SETTING]\nSavePrm=3\n", "setting", "saveprm", "3"},
      {"blanks trimmed", " \t[ setting ] \nsaveprm \t=  3 \t\n", "setting", "saveprm", "3"},
      {"double quotes removed", "[s]\nk=\"  a b  \"\n", "s", "k", "  a b  "},
      {"single quotes removed", "[s]\nk= 'x' \n", "s", "k", "x"},
      {"mismatched quotes kept", "[s]\nk=\"x'\n", "s", "k", "\"x'"},
      {"a lone quote kept", "[s]\nk=\"\n", "s", "k", "\""},
      {"only one pair removed", "[s]\nk=\"\"x\"\"\n", "s", "k", "\"x\""},
      {"empty value is present", "[s]\nk=\n", "s", "k", ""},
      {"blank value is empty", "[s]\nk=   \n", "s", "k", ""},
      {"split at the first =", "[s]\nk=a=b\n", "s", "k", "a=b"},
      {"; inside a value is text", "[s]\nk=a ; b\n", "s", "k", "a ; b"},
      {"blank inside a key", "[s]\nmy key = v\n", "s", "my key", "v"},
      {"missing key", "[s]\nother=1\n", "s", "k", std::nullopt},
      {"missing section", "[t]\nk=1\n", "s", "k", std::nullopt},
      {"key in another section", "[MessageText]\nstr_scan=X\n[language]\n", "language", "str_scan",
       std::nullopt},
      {"first duplicate key wins", "[s]\nk=1\nK=2\n", "s", "k", "1"},
      {"only the first duplicate section counts", "[s]\na=1\n[t]\n[S]\nk=2\n", "s", "k", std::nullopt},
      {"first duplicate section's key", "[s]\nk=1\n[s]\nk=2\n", "s", "k", "1"},
      {"lines without = ignored", "[s]\njunk line\nk=1\n", "s", "k", "1"},
      {"a bare key is no entry", "[s]\nk\n", "s", "k", std::nullopt},
      {"comment line", "[s]\n;k=1\n  ; k=2\nk=3\n", "s", "k", "3"},
      {"entries before any section", "k=1\n[s]\n", "s", "k", std::nullopt},
      {"CR LF line ends", "[s]\r\nk=v\r\nz=w\r\n", "s", "k", "v"},
      {"byte-order mark", "\xEF\xBB\xBF[s]\nk=v\n", "s", "k", "v"},
      {"no final line break", "[s]\nk=v", "s", "k", "v"},
      {"text after ] ignored", "[s] ; the settings\nk=v\n", "s", "k", "v"},
      {"[ without ] is no section", "[s]\n[t\nk=v\n", "s", "k", "v"},
      {"value ends at a NUL", "[s]\nk=ab\0cd\n"s, "s", "k", "ab"},
      {"very long line", "[s]\nk=" + long_value + "\n", "s", "k", long_value},
      {"empty text", "", "s", "k", std::nullopt},
  };
  for (const auto& c : cases) {
    const auto found = FindProfileValue(c.text, c.section, c.key);
    EXPECT_EQ(found ? std::optional<std::string>(*found) : std::nullopt, c.expected) << c.what;
  }
}

struct WriteCase {
  const char* what;
  std::string before;
  const char* key;
  std::string value;
  std::string after;
};

TEST(ProfileText, SetsOneValueAndLeavesEveryOtherByte) {
  const WriteCase cases[] = {
      {"new file", "", "k", "v", "[s]\nk=v\n"},
      {"replaced in place", "[s]\nk=old\nz=1\n", "k", "new", "[s]\nk=new\nz=1\n"},
      {"key spelling, blanks and CR LF kept", "[S]\r\n  K = old  \r\nz=1\r\n", "k", "new",
       "[S]\r\n  K = new\r\nz=1\r\n"},
      {"added after the section's last entry", "[s]\na=1\n\n; about t\n[t]\nb=2\n", "k", "v",
       "[s]\na=1\nk=v\n\n; about t\n[t]\nb=2\n"},
      {"added under a header at the end", "[s]", "k", "v", "[s]\nk=v\n"},
      {"added after a last line ending in a lone CR", "[s]\na=1\r", "k", "v", "[s]\na=1\r\nk=v\n"},
      {"added to the first duplicate section", "[s]\na=1\n[t]\n[s]\nk=9\n", "k", "v",
       "[s]\na=1\nk=v\n[t]\n[s]\nk=9\n"},
      {"only the first duplicate key replaced", "[s]\nk=1\nk=2\n", "k", "v", "[s]\nk=v\nk=2\n"},
      {"new section after the others", "; settings\n[t]\nb=2", "k", "v",
       "; settings\n[t]\nb=2\n\n[s]\nk=v\n"},
      {"new section in a CR LF file", "[t]\r\nb=2\r\n\r\n", "k", "v", "[t]\r\nb=2\r\n\r\n[s]\r\nk=v\r\n"},
      {"entries outside sections untouched", "k=0\n[s]\n", "k", "v", "k=0\n[s]\nk=v\n"},
      {"byte-order mark kept", "\xEF\xBB\xBF", "k", "v", "\xEF\xBB\xBF[s]\nk=v\n"},
      {"old value behind a NUL dropped", "[s]\nk=a\0junk\nz=1\n"s, "k", "v", "[s]\nk=v\nz=1\n"},
      {"empty value", "[s]\nk=old\n", "k", "", "[s]\nk=\n"},
      {"blanks protected by quotes", "", "k", " x ", "[s]\nk=\" x \"\n"},
      {"quotes protected by quotes", "", "k", "'q'", "[s]\nk=\"'q'\"\n"},
  };
  for (const auto& c : cases) {
    const auto after = SetProfileValue(c.before, "s", c.key, c.value);
    ASSERT_TRUE(after.ok()) << c.what << ": " << after.error();
    EXPECT_EQ(*after, c.after) << c.what;
    const auto back = FindProfileValue(*after, "s", c.key);
    ASSERT_TRUE(back.has_value()) << c.what;
    EXPECT_EQ(*back, c.value) << c.what << ": reads back";
  }
}

TEST(ProfileText, WrittenValuesReadBackUnchanged) {
  const std::string file = "; comment\n[other]\nk=keep\n[s]\nz=1\n";
  for (const std::string value : {"\"", "''", " ", "a\"", "\"a'", "\"\"x\"\"", "\tlead", "C:\\Pictures\\"}) {
    const auto after = SetProfileValue(file, "s", "k", value);
    ASSERT_TRUE(after.ok()) << value;
    EXPECT_EQ(FindProfileValue(*after, "s", "k").value_or("<missing>"), value);
    EXPECT_EQ(FindProfileValue(*after, "other", "k").value_or("<missing>"), "keep");
    EXPECT_EQ(FindProfileValue(*after, "s", "z").value_or("<missing>"), "1");
  }
}

TEST(ProfileText, RefusesWhatCouldNotBeReadBack) {
  struct Bad {
    const char* section;
    const char* key;
    std::string value;
  };
  const Bad bad[] = {
      {"s", "k", "two\nlines"}, {"s", "k", "cr\rhere"}, {"s", "k", "nul\0"s}, {"s", "", "v"},
      {"s", " k", "v"},         {"s", "k=", "v"},       {"s", ";k", "v"},     {"s", "[k", "v"},
      {"", "k", "v"},           {"s]", "k", "v"},       {"s\n", "k", "v"},    {"s", "k\n", "v"},
  };
  for (const auto& b : bad) {
    const auto after = SetProfileValue("[s]\nk=old\n", b.section, b.key, b.value);
    EXPECT_FALSE(after.ok()) << "section '" << b.section << "' key '" << b.key << "'";
  }
}

}  // namespace
}  // namespace tavlix::platform
