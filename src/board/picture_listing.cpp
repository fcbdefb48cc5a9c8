#include "board/picture_listing.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "platform/folder_listing.h"
#include "platform/path_text.h"

namespace tavlix::board {
namespace {

bool EndsWithIgnoringCase(std::string_view name, std::string_view ending) {
  if (name.size() < ending.size()) return false;
  return std::equal(ending.begin(), ending.end(), name.end() - static_cast<std::ptrdiff_t>(ending.size()),
                    [](char a, char b) {
                      return std::tolower(static_cast<unsigned char>(a)) ==
                             std::tolower(static_cast<unsigned char>(b));
                    });
}

}  // namespace

int ClassifyPictureName(std::string_view name) {
  struct Row {
    std::string_view ending;
    int kind;
  };
  static constexpr Row kTable[] = {{".jpg", kImageJpeg}, {".png", kImagePng}, {".pdf", kImagePdf},
                                   {".JPG", kImageJpeg}, {".PNG", kImagePng}, {".PDF", kImagePdf},
                                   {"jpeg", kImageJpeg}, {"JPEG", kImageJpeg}};
  if (name.size() < 4) return kImageNone;
  const std::string_view last4 = name.substr(name.size() - 4);
  for (const Row& row : kTable)
    if (last4 == row.ending) return row.kind;
  return kImageNone;
}

bool MatchesPicturePattern(std::string_view name, std::string_view pattern) {
  const std::string_view ending = pattern.substr(1);  // "*.jpg" -> ".jpg"
  if (EndsWithIgnoringCase(name, ending)) return true;
  return ending == ".jpg" && EndsWithIgnoringCase(name, "jpeg");
}

namespace {

template <typename Match>
std::vector<BoardPicture> ListMatching(const std::string& root, Match matches) {
  std::vector<BoardPicture> pictures;
  auto files = platform::ListFolderFiles(platform::PathFromUtf8(root));
  if (!files) return pictures;
  for (platform::FolderFile& file : *files)
    if (matches(file.name)) pictures.push_back({std::move(file.name), file.created});
  return pictures;
}

}  // namespace

std::vector<BoardPicture> ListBoardPictures(const std::string& root, std::string_view pattern) {
  return ListMatching(root, [&](std::string_view name) { return MatchesPicturePattern(name, pattern); });
}

std::vector<BoardPicture> ListBoardPictures(const std::string& root) {
  return ListMatching(root, [](std::string_view name) {
    return std::ranges::any_of(
        kPicturePatterns, [&](std::string_view pattern) { return MatchesPicturePattern(name, pattern); });
  });
}

}  // namespace tavlix::board
