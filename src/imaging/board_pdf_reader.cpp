#include "imaging/board_pdf_reader.h"

#include <zlib.h>

#include <cstring>
#include <limits>
#include <new>
#include <optional>
#include <string_view>

#include "imaging/adler32.h"
#include "imaging/narrow_length.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/path_text.h"

namespace tavlix::imaging {
namespace {

using Bytes = std::span<const std::uint8_t>;

// The keywords, with the number of bytes that are compared of each.
constexpr std::string_view kSize = "/Siz";
constexpr std::string_view kWidth = "/Width ";
constexpr std::string_view kHeight = "/Height";
constexpr std::string_view kPrev = "/Prev";
constexpr std::string_view kTrailer = "trailer";
constexpr std::string_view kDeviceGray = "/DeviceGray";
constexpr std::string_view kStream = "strea";
constexpr std::string_view kEndStream = "endst";

// Stream data begin this far after the stream keyword ("stream" and a
// two-byte line end); the image's entry and the bound's entry lie this far
// before the trailer keyword.
constexpr std::size_t kStreamDataSkip = 8;
constexpr std::size_t kImageEntryBack = 60;
constexpr std::size_t kBoundEntryBack = 40;

bool At(Bytes data, std::size_t pos, std::string_view keyword) {
  if (pos > data.size() || keyword.size() > data.size() - pos) return false;
  return keyword.empty() || std::memcmp(data.data() + pos, keyword.data(), keyword.size()) == 0;
}

bool IsSpace(std::uint8_t c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// A decimal number as "%d" reads it after `literal` at `pos`: blanks, an
// optional sign, digits. Stops at the end of the data; saturates instead of
// overflowing. nullopt when the literal or the digits are missing.
std::optional<std::int64_t> NumberAt(Bytes data, std::size_t pos, std::string_view literal = {}) {
  if (!At(data, pos, literal)) return std::nullopt;
  std::size_t p = pos + literal.size();
  while (p < data.size() && IsSpace(data[p])) ++p;
  bool negative = false;
  if (p < data.size() && (data[p] == '+' || data[p] == '-')) negative = data[p++] == '-';
  if (p >= data.size() || data[p] < '0' || data[p] > '9') return std::nullopt;
  constexpr std::int64_t kLimit = std::numeric_limits<std::int64_t>::max() / 10 - 10;
  std::int64_t value = 0;
  for (; p < data.size() && data[p] >= '0' && data[p] <= '9'; ++p)
    value = value < kLimit ? value * 10 + (data[p] - '0') : kLimit;
  return negative ? -value : value;
}

// An offset read from the file that must point inside the data.
std::optional<std::size_t> OffsetAt(Bytes data, std::size_t pos, std::string_view literal = {}) {
  const auto value = NumberAt(data, pos, literal);
  if (!value || *value < 0 || static_cast<std::uint64_t>(*value) >= data.size()) return std::nullopt;
  return static_cast<std::size_t>(*value);
}

struct PageEntries {
  std::size_t object = 0;  // the image object's offset
  std::size_t bound = 0;   // the following object's offset
};

// The two entries before the trailer keyword at `t`.
Result<PageEntries> EntriesBefore(Bytes data, std::size_t t, int page) {
  const std::string where = " (page " + std::to_string(page) + ")";
  if (t < kImageEntryBack)
    return Fail("the cross-reference section is too short" + where, ErrorKind::damaged);
  const auto object = OffsetAt(data, t - kImageEntryBack);
  const auto bound = OffsetAt(data, t - kBoundEntryBack);
  if (!object || !bound)
    return Fail("the cross-reference entries point outside the file" + where, ErrorKind::damaged);
  return PageEntries{*object, *bound};
}

// First position in [from, to) where `keyword` starts; nullopt if none.
std::optional<std::size_t> FindForward(Bytes data, std::size_t from, std::size_t to,
                                       std::string_view keyword) {
  for (std::size_t p = from; p < to && p < data.size(); ++p)
    if (At(data, p, keyword)) return p;
  return std::nullopt;
}

Result<int> PageCount(Bytes data) {
  const std::size_t n = data.size();
  for (std::size_t p = n - 7; p >= 1; --p) {
    if (!At(data, p, kSize)) continue;
    const std::int64_t size = NumberAt(data, p, "/Size").value_or(0);
    const int pages = PagesForSize(size);
    if (pages == 0)
      return Fail("the file has " + std::to_string(size) + " objects: more than four pages",
                  ErrorKind::damaged);
    return pages;
  }
  return Fail("no /Size in the file", ErrorKind::damaged);
}

// The first image's size: the last /Width before the first /Height.
Status PictureSize(Bytes data, BoardPdfLayout& layout) {
  std::int64_t width = kBoardPdfDefaultWidth;
  std::int64_t height = kBoardPdfDefaultHeight;
  for (std::size_t p = 0; p < data.size() - 6; ++p) {
    if (At(data, p, kWidth)) width = NumberAt(data, p, "/Width").value_or(width);
    if (At(data, p, kHeight)) {
      height = NumberAt(data, p, "/Height").value_or(height);
      if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide)
        return Fail(
            "the picture size " + std::to_string(width) + " x " + std::to_string(height) + " is not possible",
            ErrorKind::damaged);
      layout.width = static_cast<std::uint32_t>(width);
      layout.height = static_cast<std::uint32_t>(height);
      return Success();
    }
  }
  return Fail("no /Height in the file", ErrorKind::damaged);
}

// Fills each page's entries, from the last section back to the first.
Result<std::array<PageEntries, kBoardPdfMaxPages>> WalkTrailers(Bytes data, int pages) {
  std::array<PageEntries, kBoardPdfMaxPages> entries{};
  const std::size_t n = data.size();
  // The last section: backwards from the end, its /Prev (when more pages
  // are expected) before its trailer keyword.
  std::optional<std::size_t> prev_at, trailer_at;
  for (std::size_t p = n - 7; p >= 1 && !trailer_at; --p) {
    if (pages > 1 && !prev_at && At(data, p, kPrev)) prev_at = p;
    if (At(data, p, kTrailer)) {
      if (pages > 1 && !prev_at) return Fail("the last trailer has no /Prev", ErrorKind::damaged);
      trailer_at = p;
    }
  }
  if (!trailer_at) return Fail("no trailer in the file", ErrorKind::damaged);
  auto last = EntriesBefore(data, *trailer_at, pages);
  if (!last) return last.failure();
  entries[static_cast<std::size_t>(pages - 1)] = *last;

  // Each earlier section: forwards from where the /Prev points, which must
  // lie before the section we came from.
  std::size_t later_trailer = *trailer_at;
  for (int page = pages - 1; page >= 1; --page) {
    const auto prev = OffsetAt(data, *prev_at, kPrev);
    if (!prev || *prev >= later_trailer)
      return Fail("a /Prev points outside the file or forwards", ErrorKind::damaged);
    const auto t = FindForward(data, *prev + 1, later_trailer, kTrailer);
    if (!t)
      return Fail("no trailer where /Prev points (page " + std::to_string(page) + ")", ErrorKind::damaged);
    auto section = EntriesBefore(data, *t, page);
    if (!section) return section.failure();
    entries[static_cast<std::size_t>(page - 1)] = *section;
    if (page > 1) {
      prev_at = FindForward(data, *t, later_trailer, kPrev);
      if (!prev_at)
        return Fail("the trailer of page " + std::to_string(page) + " has no /Prev", ErrorKind::damaged);
    }
    later_trailer = *t;
  }
  return entries;
}

// Where a page's compressed data lie; turns the grey flag on when the image
// object names /DeviceGray.
Result<BoardPdfStream> LocateStream(Bytes data, const PageEntries& page, bool& grey, int number) {
  const std::string where = " (page " + std::to_string(number) + ")";
  if (page.object >= page.bound || page.bound > data.size())
    return Fail("the image object's entries are out of order" + where, ErrorKind::damaged);
  std::optional<std::size_t> data_offset;
  for (std::size_t p = page.object; p < page.bound; ++p) {
    if (At(data, p, kDeviceGray)) grey = true;
    if (At(data, p, kStream)) {
      data_offset = p + kStreamDataSkip;
      break;
    }
  }
  if (!data_offset) return Fail("no stream in the image object" + where, ErrorKind::damaged);
  if (data.size() < kEndStream.size())
    return Fail("no endstream in the image object" + where, ErrorKind::damaged);
  for (std::size_t p = std::min(page.bound, data.size() - kEndStream.size()); p > *data_offset; --p)
    if (At(data, p, kEndStream)) return BoardPdfStream{*data_offset, p - *data_offset};
  return Fail("no endstream in the image object" + where, ErrorKind::damaged);
}

// A zlib stream: a two-byte header, raw deflate data, the Adler-32 of the
// inflated bytes. zlib inflates the data; the header and the checksum are
// checked here, the checksum with our faster Adler-32.
class PageInflater {
 public:
  PageInflater() = default;
  PageInflater(const PageInflater&) = delete;
  PageInflater& operator=(const PageInflater&) = delete;
  ~PageInflater() {
    if (started_) inflateEnd(&z_);
  }

  // Fills `page` from `compressed`; data past the page must end cleanly
  // within the raster budget, and are checked, then dropped.
  Status Inflate(Bytes compressed, std::span<std::uint8_t> page) {
    if (compressed.size() < 2 || (compressed[0] & 0x0F) != 8 || (compressed[0] >> 4) > 7 ||
        (compressed[0] * 256u + compressed[1]) % 31 != 0 || (compressed[1] & 0x20) != 0)
      return Fail("the image data are damaged", ErrorKind::damaged);
    if (inflateInit2(&z_, -15) != Z_OK) return Fail("cannot start zlib");
    started_ = true;
    z_.next_in = const_cast<Bytef*>(compressed.data() + 2);  // zlib only reads input
    z_.avail_in = static_cast<uInt>(compressed.size() - 2);  // the caller checked the length fits
    int rc = Step(page);
    std::uint64_t total = page.size() - z_.avail_out;
    if (rc == Z_STREAM_END && total < page.size())
      return Fail("the image data hold " + std::to_string(total) + " bytes, the page needs " +
                      std::to_string(page.size()),
                  ErrorKind::damaged);
    std::vector<std::uint8_t> scratch;
    if (rc == Z_OK) scratch.resize(std::size_t{1} << 16);
    while (rc == Z_OK) {
      rc = Step(scratch);
      total += scratch.size() - z_.avail_out;
      if (total > kRasterBudgetBytes)
        return Fail("the image data are larger than a picture may be", ErrorKind::too_large);
    }
    if (rc != Z_STREAM_END) return Fail("the image data are damaged", ErrorKind::damaged);
    if (z_.avail_in < 4) return Fail("the image data are damaged", ErrorKind::damaged);
    const std::uint8_t* end = z_.next_in;
    const std::uint32_t stored =
        std::uint32_t{end[0]} << 24 | std::uint32_t{end[1]} << 16 | std::uint32_t{end[2]} << 8 | end[3];
    if (stored != adler_)
      return Fail("the image data are damaged (their checksum is wrong)", ErrorKind::damaged);
    return Success();
  }

 private:
  // Inflates into `out` and adds what came out to the checksum. Z_OK: `out`
  // is full and more may follow.
  int Step(std::span<std::uint8_t> out) {
    z_.next_out = out.data();
    z_.avail_out = static_cast<uInt>(out.size());
    int rc = Z_OK;
    while (rc == Z_OK && z_.avail_out != 0) {
      if (z_.avail_in == 0) return Z_DATA_ERROR;  // the data end inside the stream
      rc = inflate(&z_, Z_NO_FLUSH);
    }
    adler_ = Adler32(adler_, out.first(out.size() - z_.avail_out));
    return rc == Z_BUF_ERROR ? Z_DATA_ERROR : rc;
  }

  z_stream z_{};
  bool started_ = false;
  std::uint32_t adler_ = 1;
};

}  // namespace

int PagesForSize(std::int64_t size) {
  if (size <= 7) return 1;
  if (size <= 11) return 2;
  if (size <= 15) return 3;
  if (size <= 19) return 4;
  return 0;
}

Result<BoardPdfLayout> ScanBoardPdf(Bytes data) {
  if (data.size() <= 7) return Fail("the file is too short for a board PDF", ErrorKind::damaged);
  BoardPdfLayout layout;
  const auto pages = PageCount(data);
  if (!pages) return pages.failure();
  layout.pages = *pages;
  if (Status sized = PictureSize(data, layout); !sized) return sized.failure();
  const auto entries = WalkTrailers(data, layout.pages);
  if (!entries) return entries.failure();
  for (int k = 0; k < layout.pages; ++k) {
    const auto i = static_cast<std::size_t>(k);
    const auto stream = LocateStream(data, (*entries)[i], layout.grey, k + 1);
    if (!stream) return stream.failure();
    layout.streams[i] = *stream;
  }
  const auto bytes = CheckedPixelBytes(layout.width, layout.height, layout.pixel_layout());
  if (!bytes) return bytes.failure();
  return layout;
}

Status InflateBoardPdfPage(Bytes data, const BoardPdfLayout& layout, int page,
                           std::vector<std::uint8_t>& pixels) {
  if (page < 0 || page >= layout.pages) return Fail("no such page");
  const BoardPdfStream& stream = layout.streams[static_cast<std::size_t>(page)];
  if (stream.offset > data.size() || stream.length > data.size() - stream.offset)
    return Fail("the image data lie outside the file", ErrorKind::damaged);
  const auto need = CheckedPixelBytes(layout.width, layout.height, layout.pixel_layout());
  if (!need) return need.failure();
  // Deflate expands at most 1032-fold: data too short to fill the page are
  // refused before the page's memory is taken.
  if (*need / 1032 > stream.length)
    return Fail("the image data are too short for a " + std::to_string(layout.width) + " x " +
                    std::to_string(layout.height) + " page (page " + std::to_string(page + 1) + ")",
                ErrorKind::damaged);
  try {
    pixels.resize(*need);
  } catch (const std::bad_alloc&) {
    return Fail("not enough memory for a page");
  }
  const Bytes compressed = data.subspan(stream.offset, stream.length);
  const auto room = NarrowLength(*need);
  const auto compressed_length = NarrowLength(compressed.size());
  if (!room || !compressed_length)
    return Fail("the page is too large (page " + std::to_string(page + 1) + ")", ErrorKind::too_large);
  PageInflater inflater;
  if (Status inflated = inflater.Inflate(compressed, pixels); !inflated)
    return Fail(inflated.error() + " (page " + std::to_string(page + 1) + ")", inflated.kind());
  return Success();
}

Result<BoardPdf> ReadBoardPdf(const std::filesystem::path& path) {
  auto bytes = platform::ReadFileBytes(path, kBoardPdfMaxBytes);
  if (!bytes && platform::FileExists(path)) {
    platform::SleepFor(platform::Millis(500));
    bytes = platform::ReadFileBytes(path, kBoardPdfMaxBytes);
  }
  if (!bytes) return bytes.failure();
  auto layout = ScanBoardPdf(*bytes);
  if (!layout)
    return Fail(
        platform::PathToUtf8(path) + ": not a PDF laid out as the board stores them (" + layout.error() + ")",
        layout.kind());
  return BoardPdf{std::move(*bytes), *layout};
}

}  // namespace tavlix::imaging
