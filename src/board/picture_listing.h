// The pictures at the board drive's root, as the picture check sees them.
//
// Listing: the patterns "*.jpg", "*.png", "*.pdf" in that order, matched
// without regard to case; names ending in "jpeg" are listed under "*.jpg",
// as the short-name match of a lettered drive does. Only files are listed,
// in the folder's own order, each with its creation time. Only regular files
// are listed: links (whatever they point at), folders, FIFOs and devices never,
// nor a name the system cannot give as UTF-8.
// Classification: the last four characters of the name, compared with
// regard to case, as the board names its files (".Png" is no picture).
// Thread-safe.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"

namespace tavlix::board {

// ImageType values.
inline constexpr int kImageNone = 0;
inline constexpr int kImageJpeg = 1;
inline constexpr int kImagePng = 2;
inline constexpr int kImagePdf = 3;

// The kind of picture a name stands for, or kImageNone.
int ClassifyPictureName(std::string_view name);

// The listing patterns, in the order they are searched.
inline constexpr std::string_view kPicturePatterns[] = {"*.jpg", "*.png", "*.pdf"};

// Whether `name` is listed under `pattern` (one of kPicturePatterns).
bool MatchesPicturePattern(std::string_view name, std::string_view pattern);

struct BoardPicture {
  std::string name;  // bare file name in the root folder
  platform::WallTime created;
  bool operator==(const BoardPicture&) const = default;
};

// The files of `root` listed under `pattern`. Entries whose creation time
// cannot be read are left out; an unreadable folder lists nothing.
std::vector<BoardPicture> ListBoardPictures(const std::string& root, std::string_view pattern);
// The files of `root` listed under any of the patterns, in the folder's order
// (the folder is read once).
std::vector<BoardPicture> ListBoardPictures(const std::string& root);

}  // namespace tavlix::board
