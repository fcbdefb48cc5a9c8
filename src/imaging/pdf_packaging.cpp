#include "imaging/pdf_packaging.h"

#include <hpdf.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <new>
#include <span>
#include <type_traits>
#include <vector>

#include "imaging/jpeg_codec.h"
#include "imaging/png_codec.h"
#include "imaging/safe_save.h"
#include "platform/files.h"

namespace tavlix::imaging {
namespace {

static_assert(std::is_same_v<HPDF_STATUS, unsigned long>, "error_handler's parameters are HPDF_STATUS");

constexpr std::uint64_t kMaxPictureFileBytes = 64u << 20;
constexpr HPDF_UINT kCompressEverything = 0x0F;  // text, images and metadata

struct DocFree {
  void operator()(HPDF_Doc doc) const { HPDF_Free(doc); }
};
using Document = std::unique_ptr<std::remove_pointer_t<HPDF_Doc>, DocFree>;

std::uint32_t BigEndian32(const std::uint8_t* p) {
  return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

// What a PNG's chunks say: its size, whether it is grey, and, when a PDF can
// read its compressed data as they are (8-bit grey or colour, not
// interlaced, no transparency), those data: the IDAT chunks joined.
struct PngChunks {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  bool grey = false;
  int colors = 0;
  bool pass_through = false;
  std::vector<std::uint8_t> data;
};

PngChunks ReadPngChunks(std::span<const std::uint8_t> png) {
  PngChunks result;
  std::size_t pos = 8;
  while (png.size() >= 12 && pos <= png.size() - 12) {
    const std::size_t length = BigEndian32(&png[pos]);
    if (length > png.size() - pos - 12) return {};
    const std::uint8_t* type = &png[pos + 4];
    const std::uint8_t* body = &png[pos + 8];
    if (std::equal(type, type + 4, "IHDR") && length >= 13) {
      result.width = BigEndian32(body);
      result.height = BigEndian32(body + 4);
      const int depth = body[8], colour = body[9], interlace = body[12];
      result.grey = (colour & 2) == 0;
      result.colors = result.grey ? 1 : 3;
      result.pass_through = depth == 8 && (colour == 0 || colour == 2) && interlace == 0;
    } else if (std::equal(type, type + 4, "tRNS")) {
      result.pass_through = false;
    } else if (std::equal(type, type + 4, "IDAT") && result.pass_through) {
      result.data.insert(result.data.end(), body, body + length);
    } else if (std::equal(type, type + 4, "IEND")) {
      break;
    }
    pos += 12 + length;
  }
  if (result.data.empty()) result.pass_through = false;
  return result;
}

HPDF_STATUS WriteFlateFilter(HPDF_Dict, HPDF_Stream stream) {
  return HPDF_Stream_WriteStr(stream, "/Filter /FlateDecode\012");
}

// Gives an image loaded from a one-pixel stand-in the PNG's size and its own
// compressed data, read through PNG predictors. (Loading the decoded pixels
// only to drop them cost a byte-by-byte copy of the whole picture.)
bool UsePngData(HPDF_Image image, const PngChunks& png) {
  if (HPDF_Dict_AddNumber(image, "Width", static_cast<HPDF_INT32>(png.width)) != HPDF_OK ||
      HPDF_Dict_AddNumber(image, "Height", static_cast<HPDF_INT32>(png.height)) != HPDF_OK)
    return false;
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

// The JPEG as it is, once read through its end-of-image marker, and only as
// libharu reads its frame the way libjpeg did.
Result<HPDF_Image> LoadJpeg(HPDF_Doc doc, std::span<const std::uint8_t> bytes, std::size_t budget) {
  const auto facts = CheckJpeg(bytes, budget);
  if (!facts) return facts.failure();
  if (facts->arithmetic) return Fail("an arithmetic-coded JPEG cannot go into a PDF");
  HPDF_Image image = HPDF_LoadJpegImageFromMem(doc, bytes.data(), static_cast<HPDF_UINT>(facts->length));
  if (image == nullptr || HPDF_Image_GetWidth(image) != facts->width ||
      HPDF_Image_GetHeight(image) != facts->height)
    return Fail("the PDF library cannot load the picture");
  return image;
}

// The PNG through our decoder: its own data where a PDF reads them, else the
// decoded pixels.
Result<HPDF_Image> LoadPng(HPDF_Doc doc, std::span<const std::uint8_t> bytes, std::size_t budget) {
  const auto raster = DecodePng(bytes, budget);
  if (!raster) return raster.failure();
  const PngChunks chunks = ReadPngChunks(bytes);
  const bool pass_through =
      chunks.pass_through && chunks.width == raster->width && chunks.height == raster->height;
  std::vector<std::uint8_t> grey;
  if (chunks.grey && !pass_through) {
    try {
      grey.resize(raster->rgb.size() / 3);
    } catch (const std::bad_alloc&) {
      return Fail("not enough memory for the picture");
    }
    for (std::size_t i = 0; i < grey.size(); ++i) grey[i] = raster->rgb[3 * i];
  }
  const HPDF_ColorSpace space = chunks.grey ? HPDF_CS_DEVICE_GRAY : HPDF_CS_DEVICE_RGB;
  if (pass_through) {
    static constexpr std::uint8_t kStandIn[3] = {255, 255, 255};
    HPDF_Image image = HPDF_LoadRawImageFromMem(doc, kStandIn, 1, 1, space, 8);
    if (image == nullptr) return Fail("the PDF library cannot load the picture");
    if (!UsePngData(image, chunks)) return Fail("cannot embed the picture's data");
    return image;
  }
  HPDF_Image image = HPDF_LoadRawImageFromMem(doc, grey.empty() ? raster->rgb.data() : grey.data(),
                                              raster->width, raster->height, space, 8);
  if (image == nullptr) return Fail("the PDF library cannot load the picture");
  return image;
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
  std::fflush(stdout);  // NOLINT(cert-err33-c): a message only; nothing to do without stdout
}

Result<std::vector<std::uint8_t>> PictureToPdf(std::span<const std::uint8_t> picture, PictureFormat kind,
                                               std::size_t budget) {
  Document doc(HPDF_New(error_handler, nullptr));
  if (!doc) return Fail("cannot start the PDF library");
  HPDF_SetCompressionMode(doc.get(), kCompressEverything);
  HPDF_Page page = HPDF_AddPage(doc.get());
  if (page == nullptr) return Fail("the PDF library cannot add a page");
  const auto image = kind == PictureFormat::jpeg ? LoadJpeg(doc.get(), picture, budget)
                                                 : LoadPng(doc.get(), picture, budget);
  if (!image) return image.failure();
  HPDF_Page_SetSize(page, HPDF_PAGE_SIZE_A4, HPDF_PAGE_LANDSCAPE);
  const PdfPlacement place = PlaceOnA4Landscape(HPDF_Image_GetWidth(*image), HPDF_Image_GetHeight(*image));
  HPDF_Page_DrawImage(page, *image, static_cast<HPDF_REAL>(place.x), static_cast<HPDF_REAL>(place.y),
                      static_cast<HPDF_REAL>(place.width), static_cast<HPDF_REAL>(place.height));

  if (HPDF_SaveToStream(doc.get()) != HPDF_OK) return Fail("the PDF library cannot write the PDF");
  HPDF_UINT32 size = HPDF_GetStreamSize(doc.get());
  std::vector<std::uint8_t> pdf;
  try {
    pdf.resize(size);
  } catch (const std::bad_alloc&) {
    return Fail("not enough memory for the PDF");
  }
  if (HPDF_ReadFromStream(doc.get(), pdf.data(), &size) != HPDF_OK || size != pdf.size())
    return Fail("the PDF library cannot write the PDF");
  return pdf;
}

Status PackagePictureAsPdf(const std::filesystem::path& source, PictureFormat kind,
                           const std::filesystem::path& target, SaveMode mode) {
  const auto bytes = platform::ReadFileBytes(source, kMaxPictureFileBytes);
  if (!bytes) return bytes.failure();
  const auto pdf = PictureToPdf(*bytes, kind);
  if (!pdf) return Fail(source.string() + ": " + pdf.error());
  return WriteNewFile(
      target, [&](PendingFile& file) { return file.Write(*pdf); }, mode);
}

}  // namespace tavlix::imaging
