#include "platform/portable/profile_text.h"

#include <algorithm>

namespace tavlix::platform {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

bool IsQuote(char c) {
  return c == '"' || c == '\'';
}

bool IsQuoted(std::string_view s) {
  return s.size() >= 2 && IsQuote(s.front()) && s.back() == s.front();
}

enum class LineKind { blank, comment, section, entry, other };

// One line of the file, as offsets into its text.
struct Line {
  std::size_t begin = 0;        // first byte (after the byte-order mark on line one)
  std::size_t content_end = 0;  // before the line's CR LF or LF
  std::size_t end = 0;          // after the line's LF; content_end on an unterminated last line
  LineKind kind = LineKind::other;
  std::string_view name;        // the section's or the entry's name, trimmed
  std::size_t value_begin = 0;  // an entry's value, trimmed, before unquoting
  std::size_t value_end = 0;
};

// Walks the lines of a profile text, classifying each.
class LineReader {
 public:
  explicit LineReader(std::string_view text) : text_(text) {
    if (text_.starts_with(kBom)) pos_ = kBom.size();
  }

  bool Next(Line& line) {
    if (pos_ >= text_.size()) return false;
    line = Line{};
    line.begin = pos_;
    const std::size_t lf = text_.find('\n', pos_);
    line.end = lf == std::string_view::npos ? text_.size() : lf + 1;
    line.content_end = lf == std::string_view::npos ? text_.size() : lf;
    if (line.content_end > line.begin && text_[line.content_end - 1] == '\r') --line.content_end;
    pos_ = line.end;
    Classify(line);
    return true;
  }

 private:
  void Classify(Line& line) const {
    std::string_view s = text_.substr(line.begin, line.content_end - line.begin);
    s = s.substr(0, s.find('\0'));  // a C reader stops at the first NUL
    const std::string_view lead = Trim(s);
    if (lead.empty()) {
      line.kind = LineKind::blank;
    } else if (lead.front() == ';') {
      line.kind = LineKind::comment;
    } else if (const std::size_t close = lead.find(']');
               lead.front() == '[' && close != std::string_view::npos) {
      line.kind = LineKind::section;
      line.name = Trim(lead.substr(1, close - 1));
    } else if (const std::size_t eq = s.find('='); eq != std::string_view::npos) {
      line.kind = LineKind::entry;
      line.name = Trim(s.substr(0, eq));
      const std::string_view value = Trim(s.substr(eq + 1));
      line.value_begin =
          value.empty() ? line.begin + eq + 1 : static_cast<std::size_t>(value.data() - text_.data());
      line.value_end = line.value_begin + value.size();
    }
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

// Where a key of a section is, or where it would go.
struct Location {
  bool section_found = false;
  std::optional<Line> entry;         // the key's line, when present
  std::size_t insert_at = 0;         // after the section's last header or entry line
  bool insert_needs_break = false;   // that line has no LF of its own
  bool ends_with_blank_line = true;  // the text is empty or its last line is blank
};

Location Locate(std::string_view text, std::string_view section, std::string_view key) {
  Location where;
  LineReader reader(text);
  Line line;
  bool inside = false;
  while (reader.Next(line)) {
    where.ends_with_blank_line = line.kind == LineKind::blank;
    if (line.kind == LineKind::section) {
      if (where.section_found) break;  // only the first such section counts
      inside = EqualNoCase(line.name, section);
      where.section_found = inside;
    } else if (!inside || line.kind == LineKind::blank || line.kind == LineKind::comment) {
      continue;
    } else if (line.kind == LineKind::entry && EqualNoCase(line.name, key)) {
      where.entry = line;
      return where;
    }
    if (inside) {
      where.insert_at = line.end;
      // An unterminated last line, perhaps ending in a lone CR.
      where.insert_needs_break = text[line.end - 1] != '\n';
    }
  }
  return where;
}

std::string_view LineBreakOf(std::string_view text) {
  const std::size_t lf = text.find('\n');
  return lf != std::string_view::npos && lf > 0 && text[lf - 1] == '\r' ? "\r\n" : "\n";
}

bool HasLineBreakOrNul(std::string_view s) {
  return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

Status CheckName(std::string_view name, const char* what) {
  if (name.empty() || Trim(name) != name || HasLineBreakOrNul(name))
    return Fail(std::string("a profile ") + what +
                " name must be non-empty text without blanks at either end");
  return Success();
}

Status CheckWrite(std::string_view section, std::string_view key, std::string_view value) {
  if (Status s = CheckName(section, "section"); !s) return s;
  if (Status s = CheckName(key, "key"); !s) return s;
  if (section.find(']') != std::string_view::npos) return Fail("a profile section name cannot hold ']'");
  if (key.find('=') != std::string_view::npos || key.front() == '[' || key.front() == ';')
    return Fail("a profile key cannot hold '=' or start with '[' or ';'");
  if (HasLineBreakOrNul(value)) return Fail("a profile value cannot hold a line break or a NUL character");
  return Success();
}

// The value as written, so that reading it gives it back unchanged.
std::string EncodeValue(std::string_view value) {
  const bool protect = !value.empty() && (IsBlank(value.front()) || IsBlank(value.back()) || IsQuoted(value));
  return protect ? "\"" + std::string(value) + "\"" : std::string(value);
}

}  // namespace

std::optional<std::string_view> FindProfileValue(std::string_view text, std::string_view section,
                                                 std::string_view key) {
  const Location where = Locate(text, section, key);
  if (!where.entry) return std::nullopt;
  std::string_view value =
      text.substr(where.entry->value_begin, where.entry->value_end - where.entry->value_begin);
  if (IsQuoted(value)) value = value.substr(1, value.size() - 2);
  return value;
}

Result<std::string> SetProfileValue(std::string_view text, std::string_view section, std::string_view key,
                                    std::string_view value) {
  if (Status ok = CheckWrite(section, key, value); !ok) return ok.failure();
  const std::string encoded = EncodeValue(value);
  const std::string_view eol = LineBreakOf(text);
  const Location where = Locate(text, section, key);
  std::string out;
  out.reserve(text.size() + section.size() + key.size() + encoded.size() + 16);

  if (where.entry) {
    // Keep the key as spelled and the blanks after '='; drop the old value up
    // to the line's break (including anything behind a NUL).
    out.append(text.substr(0, where.entry->value_begin));
    out.append(encoded);
    out.append(text.substr(where.entry->content_end));
    return out;
  }
  const std::string entry = std::string(key) + "=" + encoded;
  if (where.section_found) {
    out.append(text.substr(0, where.insert_at));
    if (where.insert_needs_break) out.append(eol);
    out.append(entry).append(eol);
    out.append(text.substr(where.insert_at));
    return out;
  }
  out.append(text);
  const std::string_view body = text.starts_with(kBom) ? text.substr(kBom.size()) : text;
  if (!body.empty() && body.back() != '\n') out.append(eol);
  if (!where.ends_with_blank_line) out.append(eol);
  out.append("[").append(section).append("]").append(eol);
  out.append(entry).append(eol);
  return out;
}

}  // namespace tavlix::platform
