// libpng reports errors through our error function, which records the message
// and longjmps back to the setjmp in one of the small *Guarded functions
// below. Those functions hold only trivial locals; the C++ objects (codec
// state, buffers) live in their callers, so the jump skips no destructor.
#include "imaging/png_codec.h"

#include <png.h>
#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "imaging/safe_save.h"

namespace tavlix::imaging {
namespace {

struct PngMessage {
  char text[256];
};

[[noreturn]] void RecordError(png_structp png, png_const_charp message) {
  auto* record = static_cast<PngMessage*>(png_get_error_ptr(png));
  std::snprintf(record->text, sizeof record->text, "%s", message);
  png_longjmp(png, 1);
}

void IgnoreWarning(png_structp, png_const_charp) {}

// ---- Decoding ----

struct ReadSource {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t position;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t length) {
  auto* source = static_cast<ReadSource*>(png_get_io_ptr(png));
  if (length > source->size - source->position) png_error(png, "the file ends early");
  std::memcpy(out, source->data + source->position, length);
  source->position += length;
}

struct ReadJob {
  ReadJob() = default;
  ~ReadJob() {
    if (png != nullptr) png_destroy_read_struct(&png, &info, nullptr);
  }
  ReadJob(const ReadJob&) = delete;
  ReadJob& operator=(const ReadJob&) = delete;

  png_structp png = nullptr;
  png_infop info = nullptr;
  PngMessage message{};
  ReadSource source{};
  png_uint_32 width = 0;
  png_uint_32 height = 0;
  int channels = 0;  // after the transforms: 3, or 4 with alpha
  int passes = 1;
};

// Reads the header and sets up the transforms to 8-bit RGB or RGBA.
bool ReadHeaderGuarded(ReadJob* job) {
  if (setjmp(png_jmpbuf(job->png)) != 0) return false;
  png_structp png = job->png;
  png_infop info = job->info;
  png_set_read_fn(png, &job->source, ReadFromMemory);
  png_set_user_limits(png, kMaxSide, kMaxSide);
  // Every chunk's CRC is checked (libpng's default: a bad one in a critical
  // chunk is an error), and it covers every byte of the compressed data, so
  // damage is found without zlib's Adler-32 over the inflated rows, which
  // cost a fifth of a decode.
  png_set_option(png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
  png_read_info(png, info);
  const int colour = png_get_color_type(png, info);
  const int depth = png_get_bit_depth(png, info);
  if (colour == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if ((colour & PNG_COLOR_MASK_COLOR) == 0 && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS) != 0) png_set_tRNS_to_alpha(png);
  if (depth == 16) png_set_scale_16(png);
  if ((colour & PNG_COLOR_MASK_COLOR) == 0) png_set_gray_to_rgb(png);
  job->passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);
  job->width = png_get_image_width(png, info);
  job->height = png_get_image_height(png, info);
  job->channels = png_get_channels(png, info);
  return true;
}

// Lays one RGBA row over white into an RGB row.
void OverWhite(const std::uint8_t* rgba, std::uint8_t* rgb, std::size_t width) {
  for (std::size_t x = 0; x < width; ++x, rgba += 4, rgb += 3) {
    const unsigned alpha = rgba[3];
    for (int c = 0; c < 3; ++c)
      rgb[c] = static_cast<std::uint8_t>((rgba[c] * alpha + 255u * (255u - alpha) + 127u) / 255u);
  }
}

// Non-interlaced: row by row into the raster (through `rgba_row` when the
// rows carry alpha). Interlaced: every pass into `staging`, the whole picture
// in the decoded layout, which may be the raster itself.
bool ReadRowsGuarded(ReadJob* job, std::uint8_t* rgb, std::uint8_t* rgba_row, std::uint8_t* staging) {
  if (setjmp(png_jmpbuf(job->png)) != 0) return false;
  const std::size_t width = job->width;
  const std::size_t row_bytes = width * static_cast<std::size_t>(job->channels);
  if (job->passes == 1) {
    for (std::size_t y = 0; y < job->height; ++y) {
      std::uint8_t* out = rgb + y * width * 3;
      png_read_row(job->png, rgba_row != nullptr ? rgba_row : out, nullptr);
      if (rgba_row != nullptr) OverWhite(rgba_row, out, width);
    }
  } else {
    for (int pass = 0; pass < job->passes; ++pass)
      for (std::size_t y = 0; y < job->height; ++y) png_read_row(job->png, staging + y * row_bytes, nullptr);
  }
  png_read_end(job->png, nullptr);
  return true;
}

// ---- Encoding ----

struct WriteSink {
  platform::ByteSink* out;
};

void WriteToFd(png_structp png, png_bytep data, png_size_t length) {
  auto* sink = static_cast<WriteSink*>(png_get_io_ptr(png));
  if (!sink->out->Write(std::span<const std::uint8_t>(data, length))) png_error(png, "cannot write the file");
}

void FlushNothing(png_structp) {}

struct WriteJob {
  WriteJob() = default;
  ~WriteJob() {
    if (png != nullptr) png_destroy_write_struct(&png, &info);
  }
  WriteJob(const WriteJob&) = delete;
  WriteJob& operator=(const WriteJob&) = delete;

  png_structp png = nullptr;
  png_infop info = nullptr;
  PngMessage message{};
  WriteSink sink{};
};

int FilterMask(PngEncoding::Filter filter) {
  switch (filter) {
    case PngEncoding::Filter::none: return PNG_FILTER_NONE;
    case PngEncoding::Filter::sub: return PNG_FILTER_SUB;
    case PngEncoding::Filter::up: return PNG_FILTER_UP;
    case PngEncoding::Filter::average: return PNG_FILTER_AVG;
    case PngEncoding::Filter::paeth: return PNG_FILTER_PAETH;
    case PngEncoding::Filter::adaptive: return PNG_ALL_FILTERS;
  }
  return PNG_ALL_FILTERS;
}

int ZlibStrategy(PngEncoding::Strategy strategy) {
  switch (strategy) {
    case PngEncoding::Strategy::standard: return Z_DEFAULT_STRATEGY;
    case PngEncoding::Strategy::filtered: return Z_FILTERED;
    case PngEncoding::Strategy::rle: return Z_RLE;
    case PngEncoding::Strategy::huffman_only: return Z_HUFFMAN_ONLY;
  }
  return Z_DEFAULT_STRATEGY;
}

bool WriteGuarded(WriteJob* job, const RasterView* picture, const PngEncoding* encoding,
                  std::uint8_t* rgb_row) {
  if (setjmp(png_jmpbuf(job->png)) != 0) return false;
  png_structp png = job->png;
  png_set_write_fn(png, &job->sink, WriteToFd, FlushNothing);
  png_set_IHDR(png, job->info, picture->width, picture->height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, FilterMask(encoding->filter));
  png_set_compression_level(png, encoding->level);
  png_set_compression_strategy(png, ZlibStrategy(encoding->strategy));
  png_set_compression_buffer_size(png, 1u << 17);
  png_write_info(png, job->info);
  const std::size_t width = picture->width;
  const std::uint8_t* pixels = picture->pixels.data();
  for (std::size_t y = 0; y < picture->height; ++y) {
    if (picture->layout == PixelLayout::rgb24) {
      png_write_row(png, pixels + y * width * 3);
    } else {
      const std::uint8_t* grey = pixels + y * width;
      for (std::size_t x = 0; x < width; ++x)
        rgb_row[3 * x] = rgb_row[3 * x + 1] = rgb_row[3 * x + 2] = grey[x];
      png_write_row(png, rgb_row);
    }
  }
  png_write_end(png, nullptr);
  return true;
}

}  // namespace

Result<Raster> DecodePng(std::span<const std::uint8_t> bytes, std::size_t budget) {
  if (bytes.size() < 8 || png_sig_cmp(bytes.data(), 0, 8) != 0)
    return Fail("not a PNG picture", ErrorKind::damaged);
  auto job = std::make_unique<ReadJob>();
  job->source = {bytes.data(), bytes.size(), 0};
  job->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &job->message, RecordError, IgnoreWarning);
  if (job->png == nullptr) return Fail("not enough memory to decode the PNG picture");
  job->info = png_create_info_struct(job->png);
  if (job->info == nullptr) return Fail("not enough memory to decode the PNG picture");
  if (!ReadHeaderGuarded(job.get()))
    return Fail(std::string("not a readable PNG picture: ") + job->message.text, ErrorKind::damaged);
  if (job->channels != 3 && job->channels != 4)
    return Fail("unexpected PNG pixel layout", ErrorKind::damaged);

  const std::size_t channels = static_cast<std::size_t>(job->channels);
  const bool staged = job->passes > 1 && channels == 4;
  const auto raster_bytes = CheckedPixelBytes(job->width, job->height, PixelLayout::rgb24, budget);
  if (!raster_bytes) return raster_bytes.failure();
  // The staging copy of an interlaced picture with alpha: 4 bytes a pixel.
  if (staged && *raster_bytes / 3 * 4 > budget - *raster_bytes)
    return Fail("the picture is " + std::to_string(job->width) + " x " + std::to_string(job->height) +
                    " interlaced pixels with transparency, more than a conversion may take",
                ErrorKind::too_large);
  auto raster = AllocateRaster(job->width, job->height, budget);
  if (!raster) return raster.failure();
  std::vector<std::uint8_t> rgba_row, staging;
  try {
    if (staged)
      staging.resize(std::size_t{job->width} * job->height * 4);
    else if (job->passes == 1 && channels == 4)
      rgba_row.resize(std::size_t{job->width} * 4);
  } catch (const std::bad_alloc&) {
    return Fail("not enough memory to decode the PNG picture");
  }
  std::uint8_t* staging_ptr =
      job->passes > 1 ? (channels == 4 ? staging.data() : raster->rgb.data()) : nullptr;
  if (!ReadRowsGuarded(job.get(), raster->rgb.data(), rgba_row.empty() ? nullptr : rgba_row.data(),
                       staging_ptr))
    return Fail(std::string("damaged PNG picture: ") + job->message.text, ErrorKind::damaged);
  if (!staging.empty()) {
    const std::size_t width = job->width;
    for (std::size_t y = 0; y < job->height; ++y)
      OverWhite(staging.data() + y * width * 4, raster->rgb.data() + y * width * 3, width);
  }
  return raster;
}

PngEncoding WhiteboardPngEncoding() {
  return {};
}

PngEncoding LibpngDefaultEncoding() {
  return {PngEncoding::Filter::adaptive, Z_DEFAULT_COMPRESSION, PngEncoding::Strategy::filtered};
}

Status EncodePng(const RasterView& picture, platform::ByteSink& out, const PngEncoding& encoding) {
  if (!IsComplete(picture)) return Fail("cannot encode an empty or incomplete picture");
  if (picture.width > PNG_UINT_31_MAX || picture.height > PNG_UINT_31_MAX)
    return Fail("the picture is too large for a PNG file");
  auto job = std::make_unique<WriteJob>();
  job->sink.out = &out;
  std::vector<std::uint8_t> rgb_row;
  try {
    if (picture.layout == PixelLayout::grey8) rgb_row.resize(std::size_t{picture.width} * 3);
  } catch (const std::bad_alloc&) {
    return Fail("not enough memory to encode the PNG picture");
  }
  job->png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &job->message, RecordError, IgnoreWarning);
  if (job->png == nullptr) return Fail("not enough memory to encode the PNG picture");
  job->info = png_create_info_struct(job->png);
  if (job->info == nullptr) return Fail("not enough memory to encode the PNG picture");
  if (!WriteGuarded(job.get(), &picture, &encoding, rgb_row.data()))
    return Fail(std::string("cannot write the PNG picture: ") + job->message.text);
  return Success();
}

}  // namespace tavlix::imaging
