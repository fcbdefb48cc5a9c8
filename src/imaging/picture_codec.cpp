#include "imaging/picture_codec.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "imaging/jpeg_codec.h"
#include "imaging/png_codec.h"
#include "imaging/safe_save.h"
#include "platform/files.h"

namespace tavlix::imaging {
namespace {

constexpr std::uint64_t kMaxPictureFileBytes = 64u << 20;

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

}  // namespace

std::string_view ExtensionOf(PictureFormat format) {
  return format == PictureFormat::jpeg ? ".jpg" : ".png";
}

std::optional<PictureFormat> SniffFormat(std::span<const std::uint8_t> bytes) {
  if (bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF)
    return PictureFormat::jpeg;
  static constexpr std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (bytes.size() >= 8 && std::equal(kPngSignature, kPngSignature + 8, bytes.begin()))
    return PictureFormat::png;
  return std::nullopt;
}

std::optional<PictureFormat> FormatForName(const std::filesystem::path& name) {
  const std::string extension = Lower(name.extension().string());
  if (extension == ".jpg" || extension == ".jpeg") return PictureFormat::jpeg;
  if (extension == ".png") return PictureFormat::png;
  return std::nullopt;
}

Result<Raster> DecodePicture(std::span<const std::uint8_t> bytes, std::size_t budget) {
  const auto format = SniffFormat(bytes);
  if (!format) return Fail("not a JPEG or PNG picture", ErrorKind::damaged);
  return *format == PictureFormat::jpeg ? DecodeJpeg(bytes, budget) : DecodePng(bytes, budget);
}

Result<Raster> LoadPicture(const std::filesystem::path& path) {
  auto bytes = platform::ReadFileBytes(path, kMaxPictureFileBytes);
  if (!bytes) return bytes.failure();
  auto raster = DecodePicture(*bytes);
  if (!raster) return Fail(path.string() + ": " + raster.error(), raster.kind());
  return raster;
}

Status EncodePicture(const RasterView& picture, PictureFormat format, platform::ByteSink& out) {
  return format == PictureFormat::jpeg ? EncodeJpeg(picture, out) : EncodePng(picture, out);
}

Status SavePicture(const RasterView& picture, PictureFormat format, const std::filesystem::path& target,
                   SaveMode mode) {
  return WriteNewFile(
      target,
      [&](PendingFile& file) -> Status {
        if (Status encoded = EncodePicture(picture, format, file); !encoded)
          return Fail(target.string() + ": " + encoded.error(), encoded.kind());
        return Success();
      },
      mode);
}

Status ConvertPicture(const std::filesystem::path& source, const std::filesystem::path& target,
                      PictureFormat format, SaveMode mode) {
  const auto raster = LoadPicture(source);
  if (!raster) return raster.failure();
  return SavePicture(ViewOf(*raster), format, target, mode);
}

}  // namespace tavlix::imaging
