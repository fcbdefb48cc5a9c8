// Pictures and board PDFs made for tests, and ways to compare pictures.
// Header-only so every test program can use it.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "imaging/board_pdf_writer.h"
#include "imaging/picture_codec.h"
#include "imaging/raster.h"
#include "support/temp_dir.h"

namespace tavlix::test {

// A picture with smooth colour areas and dark strokes, different per seed,
// so that JPEG keeps it close and every pixel matters for PNG.
inline imaging::Raster TestPicture(std::uint32_t width, std::uint32_t height, unsigned seed = 1) {
  imaging::Raster raster{width, height, std::vector<std::uint8_t>(std::size_t{width} * height * 3)};
  for (std::uint32_t y = 0; y < height; ++y) {
    for (std::uint32_t x = 0; x < width; ++x) {
      std::uint8_t* p = &raster.rgb[(std::size_t{y} * width + x) * 3];
      p[0] = static_cast<std::uint8_t>(200 + (x * 50 / width) + seed);
      p[1] = static_cast<std::uint8_t>(180 + (y * 70 / height));
      p[2] = static_cast<std::uint8_t>(150 + ((x + y) * 90 / (width + height)) + seed * 3);
      if ((x / 4 + y / 4 + seed) % 7 == 0) p[0] = p[1] = p[2] = 30;  // strokes
    }
  }
  return raster;
}

inline std::vector<std::uint8_t> GreyPixels(std::uint32_t width, std::uint32_t height, unsigned seed = 1) {
  std::vector<std::uint8_t> grey(std::size_t{width} * height);
  for (std::size_t i = 0; i < grey.size(); ++i)
    grey[i] = static_cast<std::uint8_t>((i * 7 + std::size_t{seed} * 13) % 251);
  return grey;
}

inline void SavePictureFile(const std::filesystem::path& path, const imaging::Raster& raster,
                            imaging::PictureFormat format) {
  ASSERT_TRUE(imaging::SavePicture(imaging::ViewOf(raster), format, path)) << path;
}

inline std::vector<std::uint8_t> BoardPdfBytes(const std::vector<imaging::RasterView>& pages) {
  auto bytes = imaging::WriteBoardPdf(pages, 1);
  EXPECT_TRUE(bytes) << bytes.error();
  return bytes ? *bytes : std::vector<std::uint8_t>{};
}

// Largest difference of one channel between two pictures of the same size.
inline int MaxDifference(const imaging::Raster& a, const imaging::Raster& b) {
  if (a.width != b.width || a.height != b.height || a.rgb.size() != b.rgb.size()) return 256;
  int most = 0;
  for (std::size_t i = 0; i < a.rgb.size(); ++i)
    most = std::max(most, std::abs(int{a.rgb[i]} - int{b.rgb[i]}));
  return most;
}

// Mean absolute difference per channel.
inline double MeanDifference(const imaging::Raster& a, const imaging::Raster& b) {
  if (a.rgb.size() != b.rgb.size() || a.rgb.empty()) return 256;
  double sum = 0;
  for (std::size_t i = 0; i < a.rgb.size(); ++i) sum += std::abs(int{a.rgb[i]} - int{b.rgb[i]});
  return sum / static_cast<double>(a.rgb.size());
}

inline imaging::Raster Decoded(const std::filesystem::path& path) {
  auto raster = imaging::LoadPicture(path);
  EXPECT_TRUE(raster) << raster.error();
  return raster ? *raster : imaging::Raster{};
}

// The output of a command, or nullopt when it could not run.
inline std::optional<std::string> CommandOutput(const std::string& command) {
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return std::nullopt;
  std::string out;
  char chunk[4096];
  while (const std::size_t got = std::fread(chunk, 1, sizeof chunk, pipe)) out.append(chunk, got);
  if (::pclose(pipe) != 0) return std::nullopt;
  return out;
}

inline bool HavePdfImages() {
  return std::system("pdfimages -v >/dev/null 2>&1") == 0;  // NOLINT(concurrency-mt-unsafe)
}

// Names of the files in a folder, sorted.
inline std::vector<std::string> FilesIn(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace tavlix::test
