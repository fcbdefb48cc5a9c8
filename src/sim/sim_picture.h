// The pictures the simulated board stores: a test pattern that differs from
// one picture to the next, as PNG, JPEG or a board PDF of 1 to 4 pages.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/result.h"

namespace tavlix::sim {

enum class PictureKind { png, jpeg, pdf };

struct PictureSpec {
  PictureKind kind = PictureKind::png;
  int pages = 1;  // board PDFs only: 1 to 4
  bool grey = false;
  std::uint32_t width = 320;
  std::uint32_t height = 180;

  bool operator==(const PictureSpec&) const = default;
};

std::optional<PictureKind> ParsePictureKind(std::string_view text);
std::string_view PictureExtension(PictureKind kind);  // ".png", ".jpg", ".pdf"

// Writes picture number `serial` to `path` (replacing nothing: the file must
// not exist yet).
Status WriteSimPicture(const PictureSpec& look, const std::filesystem::path& path, int serial);

}  // namespace tavlix::sim
