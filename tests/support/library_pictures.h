// Pictures written by libpng and libjpeg themselves, of every kind they
// write, for tests. Header-only; the test program links both libraries.
#pragma once

#include <gtest/gtest.h>
#include <jpeglib.h>
#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace tavlix::test {

// A PNG of any kind libpng writes, from rows already in that kind's layout.
inline std::vector<std::uint8_t> MakePng(std::uint32_t width, std::uint32_t height, int colour, int depth,
                                         const std::vector<std::uint8_t>& rows,
                                         int interlace = PNG_INTERLACE_NONE,
                                         const std::vector<png_color>& palette = {},
                                         const std::vector<png_byte>& transparency = {}) {
  std::vector<std::uint8_t> out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png)) != 0) {
    png_destroy_write_struct(&png, &info);
    ADD_FAILURE() << "libpng failed";
    return {};
  }
  png_set_write_fn(
      png, &out,
      [](png_structp p, png_bytep data, png_size_t size) {
        auto* o = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(p));
        o->insert(o->end(), data, data + size);
      },
      nullptr);
  png_set_IHDR(png, info, width, height, depth, colour, interlace, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (!palette.empty()) png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
  if (!transparency.empty())
    png_set_tRNS(png, info, transparency.data(), static_cast<int>(transparency.size()), nullptr);
  png_write_info(png, info);
  const std::size_t row_bytes = rows.size() / height;
  std::vector<png_bytep> pointers;
  for (std::uint32_t y = 0; y < height; ++y) pointers.push_back(const_cast<png_bytep>(&rows[y * row_bytes]));
  png_write_image(png, pointers.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

// A JPEG written by libjpeg itself with the given colour space, progressive
// (libjpeg's simple progression) or with the given scan script.
inline std::vector<std::uint8_t> MakeJpeg(std::uint32_t width, std::uint32_t height, int components,
                                          J_COLOR_SPACE space, const std::vector<std::uint8_t>& pixels,
                                          bool progressive, const std::vector<jpeg_scan_info>& scans = {}) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr err{};
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = width;
  cinfo.image_height = height;
  cinfo.input_components = components;
  cinfo.in_color_space = space;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 95, TRUE);
  if (progressive) jpeg_simple_progression(&cinfo);
  if (!scans.empty()) {
    cinfo.scan_info = scans.data();
    cinfo.num_scans = static_cast<int>(scans.size());
  }
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < height) {
    JSAMPROW row = const_cast<JSAMPROW>(
        &pixels[std::size_t{cinfo.next_scanline} * width * static_cast<std::size_t>(components)]);
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::vector<std::uint8_t> out(buffer, buffer + size);
  std::free(buffer);
  return out;
}

// Rewrites the size a PNG's header declares (and the header's checksum).
inline void SetPngSize(std::vector<std::uint8_t>& png, std::uint32_t width, std::uint32_t height) {
  const auto put = [&](std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
      png[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
  };
  put(16, width);
  put(20, height);
  put(29, static_cast<std::uint32_t>(crc32(crc32(0, nullptr, 0), &png[12], 17)));
}

// Rewrites the size a baseline JPEG's frame header declares.
inline void SetJpegSize(std::vector<std::uint8_t>& jpeg, std::uint16_t width, std::uint16_t height) {
  for (std::size_t i = 0; i + 8 < jpeg.size(); ++i) {
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
      jpeg[i + 5] = static_cast<std::uint8_t>(height >> 8), jpeg[i + 6] = static_cast<std::uint8_t>(height);
      jpeg[i + 7] = static_cast<std::uint8_t>(width >> 8), jpeg[i + 8] = static_cast<std::uint8_t>(width);
      return;
    }
  }
  ADD_FAILURE() << "no baseline frame header";
}

}  // namespace tavlix::test
