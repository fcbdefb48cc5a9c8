// The picture codec: JPEG and PNG files to 24-bit rasters and back, by the
// file's content when reading and by an explicit format when writing.
// Thread-safe; failures are Results with a message for the user.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string_view>

#include "core/result.h"
#include "imaging/raster.h"
#include "imaging/save_mode.h"
#include "platform/byte_sink.h"

namespace tavlix::imaging {

enum class PictureFormat { jpeg, png };

// ".jpg" or ".png".
std::string_view ExtensionOf(PictureFormat format);

// The format a file's first bytes announce, if it is one we read.
std::optional<PictureFormat> SniffFormat(std::span<const std::uint8_t> bytes);

// The format a target name asks for: ".jpg", ".jpeg" or ".png" in any case.
std::optional<PictureFormat> FormatForName(const std::filesystem::path& name);

// Decodes a JPEG or PNG picture, whichever the bytes hold, within the budget.
Result<Raster> DecodePicture(std::span<const std::uint8_t> bytes, std::size_t budget = kRasterBudgetBytes);

// Reads and decodes a picture file (at most 64 MiB).
Result<Raster> LoadPicture(const std::filesystem::path& path);

// Encodes into the sink in the given format.
Status EncodePicture(const RasterView& picture, PictureFormat format, platform::ByteSink& out);

// Encodes into the file `target` through a temporary file; replaces an
// existing file only in SaveMode::replace, and leaves nothing behind on
// failure.
Status SavePicture(const RasterView& picture, PictureFormat format, const std::filesystem::path& target,
                   SaveMode mode = SaveMode::never_replace);

// Loads a picture and saves it again in `format` (re-encoded, also when the
// format is the source's own).
Status ConvertPicture(const std::filesystem::path& source, const std::filesystem::path& target,
                      PictureFormat format, SaveMode mode = SaveMode::never_replace);

}  // namespace tavlix::imaging
