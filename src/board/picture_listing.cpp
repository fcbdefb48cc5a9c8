#include "board/picture_listing.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "platform/file_times.h"

namespace tavlix {
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

std::vector<BoardPicture> ListBoardPictures(const std::string& root, std::string_view pattern) {
  std::vector<BoardPicture> pictures;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
    // The entry itself, never what a link points at: a link is no picture.
    if (it->symlink_status(ec).type() != std::filesystem::file_type::regular) continue;
    std::string name = it->path().filename().string();
    if (!MatchesPicturePattern(name, pattern)) continue;
    const auto created = platform::FileCreationTime(it->path());
    if (!created) continue;
    pictures.push_back({std::move(name), *created});
  }
  return pictures;
}

}  // namespace tavlix
