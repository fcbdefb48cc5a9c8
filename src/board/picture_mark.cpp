#include "board/picture_mark.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <tuple>
#include <utility>

namespace tavlix::board {
namespace {

using platform::WallTime;

constexpr std::string_view kHeader = "tavlix pictures 1\n";
constexpr std::string_view kEnd = "end\n";

std::int64_t TicksOf(WallTime time) {
  return static_cast<std::int64_t>(time.time_since_epoch().count());
}

WallTime TimeOfTicks(std::int64_t ticks) {
  return WallTime(WallTime::duration(static_cast<WallTime::rep>(ticks)));
}

// Reads the record's text one field at a time; any fault leaves it failed.
class RecordReader {
 public:
  explicit RecordReader(std::string_view text) : text_(text) {}
  bool ok() const { return ok_; }
  bool at_end() const { return text_.empty(); }

  void Expect(std::string_view literal) {
    if (!Skip(literal)) ok_ = false;
  }
  // Passes over `literal` when it comes next; never fails the reader.
  bool Skip(std::string_view literal) {
    if (!ok_ || !text_.starts_with(literal)) return false;
    text_.remove_prefix(literal.size());
    return true;
  }
  std::string_view Word() {
    const std::size_t end = text_.find_first_of(" \n");
    if (!ok_ || end == std::string_view::npos || end == 0) {
      ok_ = false;
      return {};
    }
    const std::string_view word = text_.substr(0, end);
    text_.remove_prefix(end);
    return word;
  }
  template <typename Number>
  Number Read() {
    const std::string_view word = Word();
    Number value{};
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (!ok_ || ec != std::errc() || end != word.data() + word.size()) ok_ = false;
    return value;
  }
  // A name written as its length, a colon and its bytes.
  std::string Name() {
    const std::string_view length_text = text_.substr(0, text_.find(':'));
    std::size_t length = 0;
    const auto [end, ec] =
        std::from_chars(length_text.data(), length_text.data() + length_text.size(), length);
    if (!ok_ || ec != std::errc() || end != length_text.data() + length_text.size() ||
        length_text.size() + 1 > text_.size() || length > text_.size() - length_text.size() - 1) {
      ok_ = false;
      return {};
    }
    std::string name(text_.substr(length_text.size() + 1, length));
    text_.remove_prefix(length_text.size() + 1 + length);
    return name;
  }

 private:
  std::string_view text_;
  bool ok_ = true;
};

void AppendEntry(std::string& text, std::string_view kind, const std::string& name, WallTime time) {
  text += kind;
  text += ' ';
  text += std::to_string(TicksOf(time));
  text += ' ';
  text += std::to_string(name.size());
  text += ':';
  text += name;
  text += '\n';
}

// Keeps the later of two times for one name.
void KeepLatest(std::map<std::string, WallTime>& names, const std::string& name, WallTime time) {
  const auto [entry, added] = names.emplace(name, time);
  if (!added && entry->second < time) entry->second = time;
}

}  // namespace

void PictureMark::Prime(const std::vector<BoardPicture>& listing) {
  time_.reset();
  finished_.clear();
  open_.clear();
  for (const BoardPicture& picture : listing)
    if (!time_ || picture.created > *time_) time_ = picture.created;
  for (const BoardPicture& picture : listing)
    if (picture.created == *time_) finished_[picture.name] = picture.created;
}

bool PictureMark::IsFinished(const BoardPicture& picture) const {
  if (const auto open = open_.find(picture.name); open != open_.end() && picture.created >= open->second)
    return false;
  if (const auto done = finished_.find(picture.name);
      done != finished_.end() && picture.created <= done->second)
    return true;
  return time_ && picture.created < *time_;
}

std::vector<BoardPicture> PictureMark::Unfinished(std::vector<BoardPicture> listing) const {
  std::erase_if(listing, [this](const BoardPicture& picture) { return IsFinished(picture); });
  std::ranges::sort(listing, [](const BoardPicture& a, const BoardPicture& b) {
    return std::tie(a.created, a.name) < std::tie(b.created, b.name);
  });
  return listing;
}

bool PictureMark::Open(const BoardPicture& picture) {
  return open_.insert_or_assign(picture.name, picture.created).second;
}

void PictureMark::Drop(const std::string& name) {
  open_.erase(name);
}

void PictureMark::Finish(const BoardPicture& picture) {
  open_.erase(picture.name);
  KeepLatest(finished_, picture.name, picture.created);
}

void PictureMark::Settle(const std::vector<BoardPicture>& unfinished) {
  std::optional<WallTime> limit;
  for (const BoardPicture& picture : unfinished)
    if (!limit || picture.created < *limit) limit = picture.created;
  for (const auto& [name, created] : open_)
    if (!limit || created < *limit) limit = created;
  // Every picture before the new time is finished: the time never passes
  // one that waits.
  for (const auto& [name, created] : finished_)
    if ((!limit || created <= *limit) && (!time_ || created > *time_)) time_ = created;
  if (time_) std::erase_if(finished_, [this](const auto& entry) { return entry.second < *time_; });
}

void PictureMark::TakeOver(const PictureMark& other) {
  if (other.time_ && (!time_ || *other.time_ > *time_)) {
    time_ = other.time_;
    std::erase_if(finished_, [this](const auto& entry) { return entry.second < *time_; });
  }
  for (const auto& [name, created] : other.finished_)
    if (!time_ || created >= *time_) KeepLatest(finished_, name, created);
  // What the other left open was never saved: it is taken here, also when
  // this collector counted it among the old pictures at its start.
  for (const auto& [name, created] : other.open_) {
    finished_.erase(name);
    KeepLatest(open_, name, created);
  }
}

std::string PictureMark::ToText() const {
  std::string text(kHeader);
  text += time_ ? "time " + std::to_string(TicksOf(*time_)) + "\n" : "time none\n";
  for (const auto& [name, created] : finished_) AppendEntry(text, "done", name, created);
  for (const auto& [name, created] : open_) AppendEntry(text, "open", name, created);
  text += kEnd;  // a record cut short is no record
  return text;
}

std::optional<PictureMark> PictureMark::FromText(std::string_view text) {
  if (text.size() > kMaxTextBytes) return std::nullopt;
  RecordReader reader(text);
  PictureMark mark;
  reader.Expect(kHeader);
  reader.Expect("time ");
  if (!reader.Skip("none\n")) {
    mark.time_ = TimeOfTicks(reader.Read<std::int64_t>());
    reader.Expect("\n");
  }
  while (reader.ok() && !reader.Skip(kEnd)) {
    const std::string_view kind = reader.Word();
    reader.Expect(" ");
    const WallTime created = TimeOfTicks(reader.Read<std::int64_t>());
    reader.Expect(" ");
    const std::string name = reader.Name();
    reader.Expect("\n");
    if (kind == "done")
      KeepLatest(mark.finished_, name, created);
    else if (kind == "open")
      KeepLatest(mark.open_, name, created);
    else
      return std::nullopt;
  }
  if (!reader.ok() || !reader.at_end()) return std::nullopt;
  return mark;
}

}  // namespace tavlix::board
