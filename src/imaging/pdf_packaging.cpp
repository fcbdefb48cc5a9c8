#include "imaging/pdf_packaging.h"

#include <hpdf.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <span>
#include <type_traits>
#include <vector>

#include "imaging/png_codec.h"
#include "imaging/safe_save.h"
#include "platform/files.h"

namespace tavlix::imaging {
namespace {

static_assert(std::is_same_v<HPDF_STATUS, unsigned long>, "error_handler's parameters are HPDF_STATUS");

constexpr std::uint64_t kMaxPngFileBytes = 64u << 20;
constexpr HPDF_UINT kCompressEverything = 0x0F;  // text, images and metadata

struct DocFree {
  void operator()(HPDF_Doc doc) const { HPDF_Free(doc); }
};
using Document = std::unique_ptr<std::remove_pointer_t<HPDF_Doc>, DocFree>;

std::uint32_t BigEndian32(const std::uint8_t* p) {
  return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

// A PNG whose compressed data a PDF reads as they are: 8-bit grey or colour,
// not interlaced. Its data are the IDAT chunks joined.
struct PngPassThrough {
  std::uint32_t width = 0;
  int colors = 0;
  std::vector<std::uint8_t> data;
};

std::optional<PngPassThrough> PassThroughData(std::span<const std::uint8_t> png) {
  PngPassThrough result;
  bool header_fits = false;
  std::size_t pos = 8;
  while (png.size() >= 12 && pos <= png.size() - 12) {
    const std::size_t length = BigEndian32(&png[pos]);
    if (length > png.size() - pos - 12) return std::nullopt;
    const std::uint8_t* type = &png[pos + 4];
    const std::uint8_t* body = &png[pos + 8];
    if (std::equal(type, type + 4, "IHDR") && length >= 13) {
      result.width = BigEndian32(body);
      const int depth = body[8], colour = body[9], interlace = body[12];
      header_fits = depth == 8 && (colour == 0 || colour == 2) && interlace == 0;
      result.colors = colour == 2 ? 3 : 1;
    } else if (std::equal(type, type + 4, "IDAT")) {
      result.data.insert(result.data.end(), body, body + length);
    } else if (std::equal(type, type + 4, "IEND")) {
      break;
    }
    pos += 12 + length;
  }
  if (!header_fits || result.data.empty()) return std::nullopt;
  return result;
}

HPDF_STATUS WriteFlateFilter(HPDF_Dict, HPDF_Stream stream) {
  return HPDF_Stream_WriteStr(stream, "/Filter /FlateDecode\012");
}

// Replaces the decoded pixels libharu holds with the PNG's own compressed
// data, read through PNG predictors.
bool UsePngData(HPDF_Image image, const PngPassThrough& png) {
  HPDF_Dict parms = HPDF_Dict_New(image->mmgr);
  if (parms == nullptr) return false;
  if (HPDF_Dict_AddNumber(parms, "Predictor", 15) != HPDF_OK ||
      HPDF_Dict_AddNumber(parms, "Colors", png.colors) != HPDF_OK ||
      HPDF_Dict_AddNumber(parms, "BitsPerComponent", 8) != HPDF_OK ||
      HPDF_Dict_AddNumber(parms, "Columns", static_cast<HPDF_INT32>(png.width)) != HPDF_OK) {
    HPDF_Dict_Free(parms);
    return false;
  }
  if (HPDF_Dict_Add(image, "DecodeParms", parms) != HPDF_OK) return false;
  HPDF_MemStream_FreeData(image->stream);
  if (HPDF_Stream_Write(image->stream, png.data.data(), static_cast<HPDF_UINT>(png.data.size())) != HPDF_OK)
    return false;
  // The data are compressed already: libharu must not deflate them again,
  // and names the filter through our hook.
  image->filter = HPDF_STREAM_FILTER_NONE;
  image->write_fn = WriteFlateFilter;
  return true;
}

// Reads and fully decodes the PNG before libharu sees it.
Result<std::vector<std::uint8_t>> CheckedPng(const std::filesystem::path& source) {
  auto bytes = platform::ReadFileBytes(source, kMaxPngFileBytes);
  if (!bytes) return Error{bytes.error()};
  if (const auto decoded = DecodePng(*bytes); !decoded) return Fail(source.string() + ": " + decoded.error());
  return bytes;
}

// Lays the document out in libharu's memory stream and hands it to `out` in
// pieces, so that libharu never opens a file by name.
Status SaveDocument(HPDF_Doc doc, platform::ByteSink& out, const std::filesystem::path& target) {
  if (HPDF_SaveToStream(doc) != HPDF_OK || HPDF_ResetStream(doc) != HPDF_OK)
    return Fail("the PDF library cannot write " + target.string());
  // Reading exactly what the stream holds never runs into its end, which
  // libharu would report as an error.
  std::uint64_t left = HPDF_GetStreamSize(doc);
  std::vector<HPDF_BYTE> chunk(1u << 16);
  while (left > 0) {
    HPDF_UINT32 size = static_cast<HPDF_UINT32>(std::min<std::uint64_t>(left, chunk.size()));
    if (HPDF_ReadFromStream(doc, chunk.data(), &size) != HPDF_OK || size == 0)
      return Fail("the PDF library cannot write " + target.string());
    if (Status written = out.Write(std::span(chunk).first(size)); !written) return written;
    left -= size;
  }
  return Success();
}

}  // namespace

PdfPlacement PlaceOnA4Landscape(std::uint32_t width, std::uint32_t height) {
  PdfPlacement place;
  place.scale = (width == 0 || height == 0) ? 0 : std::min(84200u / width, 59500u / height);
  place.width = static_cast<int>(static_cast<double>(width) * place.scale / 100);
  place.height = static_cast<int>(static_cast<double>(height) * place.scale / 100);
  place.x = (842 - place.width) / 2;
  place.y = (595 - place.height) / 2;
  return place;
}

void error_handler(unsigned long error_no, unsigned long detail_no, void* /*user_data*/) {
  std::printf("ERROR: error_no=%04X, detail_no=%u\n", static_cast<unsigned>(error_no),
              static_cast<unsigned>(detail_no));
  std::fflush(stdout);
}

Status PackagePictureAsPdf(const std::filesystem::path& source, PictureFormat kind,
                           const std::filesystem::path& target, SaveMode mode) {
  std::optional<PngPassThrough> pass_through;
  if (kind == PictureFormat::png) {
    auto png = CheckedPng(source);
    if (!png) return Error{png.error()};
    pass_through = PassThroughData(*png);
  }

  Document doc(HPDF_New(error_handler, nullptr));
  if (!doc) return Fail("cannot start the PDF library");
  HPDF_SetCompressionMode(doc.get(), kCompressEverything);
  HPDF_Page page = HPDF_AddPage(doc.get());
  HPDF_Image image = kind == PictureFormat::jpeg ? HPDF_LoadJpegImageFromFile(doc.get(), source.c_str())
                                                 : HPDF_LoadPngImageFromFile(doc.get(), source.c_str());
  if (page == nullptr || image == nullptr)
    return Fail(source.string() + ": the PDF library cannot load the picture");
  HPDF_Page_SetSize(page, HPDF_PAGE_SIZE_A4, HPDF_PAGE_LANDSCAPE);
  const PdfPlacement place = PlaceOnA4Landscape(HPDF_Image_GetWidth(image), HPDF_Image_GetHeight(image));
  HPDF_Page_DrawImage(page, image, static_cast<HPDF_REAL>(place.x), static_cast<HPDF_REAL>(place.y),
                      static_cast<HPDF_REAL>(place.width), static_cast<HPDF_REAL>(place.height));
  // Only where libharu took the picture as the same grey or colour samples.
  if (pass_through && HPDF_Dict_GetItem(image, "SMask", HPDF_OCLASS_DICT) == nullptr &&
      !UsePngData(image, *pass_through))
    return Fail(source.string() + ": cannot embed the picture's data");

  return WriteNewFile(
      target, [&](PendingFile& file) { return SaveDocument(doc.get(), file, target); }, mode);
}

}  // namespace tavlix::imaging
