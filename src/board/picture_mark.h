// How far a collector has come with a board's pictures, so that each picture
// is taken exactly once, oldest first, also from one collector to the next.
//
// A picture counts as finished (saved, given up, or on the board before the
// collector started) when it was created before time(), or when it is one of
// the pictures finished at or after that time, kept by name with the latest
// creation time seen for it. An open picture (being taken, or waiting to be
// taken again) is never finished, whatever its time. The time moves only past
// finished pictures, never past an open or untaken one: pictures that arrive
// together, listed out of creation order or with one creation time (FAT keeps
// 10 ms), are each taken once.
//
// The text form is the record the holder of a board's lock keeps beside it
// (board/collector_lock.h): the next holder takes it over, so that it neither
// copies again what was finished nor skips what was open.
//
// A plain value; not thread-safe.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "board/picture_listing.h"
#include "platform/clock.h"

namespace tavlix::board {

class PictureMark {
 public:
  // Forgets everything; every picture of `listing` counts as finished (the
  // user's old ones). An empty listing leaves no time: every picture is new.
  void Prime(const std::vector<BoardPicture>& listing);

  bool IsFinished(const BoardPicture& picture) const;
  // The pictures of `listing` not finished, oldest first (one time: by name).
  std::vector<BoardPicture> Unfinished(std::vector<BoardPicture> listing) const;

  // `picture` is being taken or waits to be taken again; false when it was
  // open already.
  bool Open(const BoardPicture& picture);
  // An open picture that left the board is no longer waited for.
  void Drop(const std::string& name);
  // `picture` was saved or given up (its latest creation time).
  void Finish(const BoardPicture& picture);
  // Moves the time as far as it may while `unfinished` (the listed pictures
  // not finished) wait, and forgets the names it no longer needs.
  void Settle(const std::vector<BoardPicture>& unfinished);

  // Takes over what another collector of the board recorded: its time when
  // newer than this one's, its finished pictures, and its open ones, which
  // are taken here even when older than this collector's time.
  void TakeOver(const PictureMark& other);

  const std::optional<platform::WallTime>& time() const { return time_; }

  std::string ToText() const;
  // nullopt for a text that is no record (damaged, cut short, too large).
  static std::optional<PictureMark> FromText(std::string_view text);
  // The most a record may hold; a larger file is no record.
  static constexpr std::size_t kMaxTextBytes = 4u << 20;

  bool operator==(const PictureMark&) const = default;

 private:
  std::optional<platform::WallTime> time_;
  std::map<std::string, platform::WallTime> finished_;  // at or after time_
  std::map<std::string, platform::WallTime> open_;
};

}  // namespace tavlix::board
