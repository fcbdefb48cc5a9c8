// libjpeg reports errors by calling error_exit, which must not return. Ours
// records the message and longjmps back to a setjmp in one of the small
// *Guarded functions below. Those functions hold only trivial locals, and the
// C++ objects (the codec state and the buffers) live in their callers, so the
// jump skips no destructor.
#include "imaging/jpeg_codec.h"

#include <jerror.h>
#include <jpeglib.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE
#include <cstdlib>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "imaging/narrow_length.h"
#include "imaging/safe_save.h"

namespace tavlix::imaging {
namespace {

struct ErrorTrap {
  jpeg_error_mgr mgr;  // first, so the library's pointer is ours
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
  char damage[JMSG_LENGTH_MAX];  // the first warning about corrupt data
};

[[noreturn]] void TrapErrorExit(j_common_ptr cinfo) {
  auto* trap = reinterpret_cast<ErrorTrap*>(cinfo->err);
  cinfo->err->format_message(cinfo, trap->message);
  std::longjmp(trap->jump, 1);
}

void TrapEmitMessage(j_common_ptr cinfo, int level) {
  if (level >= 0) return;  // trace messages
  // Warnings are the library's way of saying it patched over damage (grey
  // rows, skipped data); only those about metadata leave the pixels whole.
  const int code = cinfo->err->msg_code;
  if (code == JWRN_ADOBE_XFORM || code == JWRN_JFIF_MAJOR || code == JWRN_BOGUS_ICC) return;
  auto* trap = reinterpret_cast<ErrorTrap*>(cinfo->err);
  if (trap->damage[0] == '\0') cinfo->err->format_message(cinfo, trap->damage);
}

void InitTrap(ErrorTrap& trap) {
  jpeg_std_error(&trap.mgr);
  trap.mgr.error_exit = TrapErrorExit;
  trap.mgr.emit_message = TrapEmitMessage;
  trap.message[0] = '\0';
  trap.damage[0] = '\0';
}

// ---- Decoding ----

// Called by the library while it reads scans; stops at the scan limit.
void LimitScans(j_common_ptr cinfo) {
  if (cinfo->is_decompressor == 0) return;
  if (reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number <= kMaxJpegScans) return;
  auto* trap = reinterpret_cast<ErrorTrap*>(cinfo->err);
  std::snprintf(trap->message, sizeof trap->message, "more than %d scans", kMaxJpegScans);
  std::longjmp(trap->jump, 1);
}

struct DecodeJob {
  DecodeJob() {
    InitTrap(trap);
    cinfo.err = &trap.mgr;
    progress.progress_monitor = LimitScans;
  }
  ~DecodeJob() { jpeg_destroy_decompress(&cinfo); }
  DecodeJob(const DecodeJob&) = delete;
  DecodeJob& operator=(const DecodeJob&) = delete;

  jpeg_decompress_struct cinfo{};
  ErrorTrap trap{};
  jpeg_progress_mgr progress{};
};

bool ReadHeaderGuarded(DecodeJob* job, const std::uint8_t* data, unsigned long size) {
  if (setjmp(job->trap.jump) != 0) return false;
  jpeg_create_decompress(&job->cinfo);
  job->cinfo.progress = &job->progress;
  jpeg_mem_src(&job->cinfo, data, size);
  jpeg_read_header(&job->cinfo, TRUE);
  const J_COLOR_SPACE in = job->cinfo.jpeg_color_space;
  job->cinfo.out_color_space = (in == JCS_CMYK || in == JCS_YCCK) ? JCS_CMYK : JCS_RGB;
  return true;
}

// Reads the header and checks the frame against the budget; what is left of
// the budget bounds the library's own buffers.
Result<std::unique_ptr<DecodeJob>> StartDecoding(std::span<const std::uint8_t> bytes, std::size_t budget,
                                                 std::size_t* raster_bytes) {
  auto job = std::make_unique<DecodeJob>();
  const auto size = NarrowLength(bytes.size());
  if (!size) return Fail("not a readable JPEG picture: the file is too large", ErrorKind::too_large);
  if (!ReadHeaderGuarded(job.get(), bytes.data(), *size))
    return Fail(std::string("not a readable JPEG picture: ") + job->trap.message, ErrorKind::damaged);
  const auto bytes_needed =
      CheckedPixelBytes(job->cinfo.image_width, job->cinfo.image_height, PixelLayout::rgb24, budget);
  if (!bytes_needed) return bytes_needed.failure();
  const std::size_t left = budget - (raster_bytes != nullptr ? *bytes_needed : 0);
  job->cinfo.mem->max_memory_to_use = static_cast<long>(std::max<std::size_t>(left, 1));
  if (raster_bytes != nullptr) *raster_bytes = *bytes_needed;
  return job;
}

// The damage the library patched over, or scans beyond the limit.
Status DamageFound(const DecodeJob& job) {
  if (job.trap.damage[0] != '\0')
    return Fail(std::string("damaged JPEG picture: ") + job.trap.damage, ErrorKind::damaged);
  if (job.cinfo.input_scan_number > kMaxJpegScans)
    return Fail("damaged JPEG picture: more than " + std::to_string(kMaxJpegScans) + " scans",
                ErrorKind::damaged);
  return Success();
}

// Decodes every scan's data but keeps only an eighth of each side, the
// cheapest way through the whole file that the library offers.
bool CheckGuarded(DecodeJob* job) {
  if (setjmp(job->trap.jump) != 0) return false;
  jpeg_decompress_struct* cinfo = &job->cinfo;
  cinfo->scale_num = 1;
  cinfo->scale_denom = 8;
  cinfo->dct_method = JDCT_IFAST;
  cinfo->do_fancy_upsampling = FALSE;
  jpeg_start_decompress(cinfo);
  const JDIMENSION stride = cinfo->output_width * static_cast<JDIMENSION>(cinfo->output_components);
  JSAMPARRAY row = (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE, stride, 1);
  while (cinfo->output_scanline < cinfo->output_height)
    if (jpeg_read_scanlines(cinfo, row, 1) != 1) return false;
  jpeg_finish_decompress(cinfo);
  return true;
}

// One CMYK row to RGB. Adobe's files store the inks inverted.
void CmykRowToRgb(const JSAMPLE* cmyk, std::uint8_t* rgb, JDIMENSION width, bool inverted) {
  for (JDIMENSION x = 0; x < width; ++x, cmyk += 4, rgb += 3) {
    const unsigned k = inverted ? cmyk[3] : 255u - cmyk[3];
    for (int c = 0; c < 3; ++c) {
      const unsigned ink = inverted ? cmyk[c] : 255u - cmyk[c];
      rgb[c] = static_cast<std::uint8_t>((ink * k + 127u) / 255u);
    }
  }
}

bool DecompressGuarded(DecodeJob* job, std::uint8_t* out, JSAMPLE* cmyk_row) {
  if (setjmp(job->trap.jump) != 0) return false;
  jpeg_decompress_struct* cinfo = &job->cinfo;
  jpeg_start_decompress(cinfo);
  const JDIMENSION width = cinfo->output_width;
  const bool inverted = cinfo->saw_Adobe_marker != 0;
  while (cinfo->output_scanline < cinfo->output_height) {
    std::uint8_t* row = out + std::size_t{cinfo->output_scanline} * width * 3;
    JSAMPROW target = cmyk_row != nullptr ? cmyk_row : row;
    if (jpeg_read_scanlines(cinfo, &target, 1) != 1) return false;
    if (cmyk_row != nullptr) CmykRowToRgb(cmyk_row, row, width, inverted);
  }
  jpeg_finish_decompress(cinfo);
  return true;
}

// ---- Encoding ----

struct FdDestination {
  jpeg_destination_mgr mgr;  // first, so the library's pointer is ours
  platform::ByteSink* out;
  JOCTET buffer[1 << 16];
};

void InitDestination(j_compress_ptr cinfo) {
  auto* dest = reinterpret_cast<FdDestination*>(cinfo->dest);
  dest->mgr.next_output_byte = dest->buffer;
  dest->mgr.free_in_buffer = sizeof dest->buffer;
}

[[noreturn]] void FailWrite(j_compress_ptr cinfo) {
  cinfo->err->msg_code = JERR_FILE_WRITE;
  cinfo->err->error_exit(reinterpret_cast<j_common_ptr>(cinfo));
  std::abort();  // error_exit never returns
}

boolean EmptyOutputBuffer(j_compress_ptr cinfo) {
  auto* dest = reinterpret_cast<FdDestination*>(cinfo->dest);
  if (!dest->out->Write(dest->buffer)) FailWrite(cinfo);
  dest->mgr.next_output_byte = dest->buffer;
  dest->mgr.free_in_buffer = sizeof dest->buffer;
  return TRUE;
}

void TermDestination(j_compress_ptr cinfo) {
  auto* dest = reinterpret_cast<FdDestination*>(cinfo->dest);
  const std::size_t used = sizeof dest->buffer - dest->mgr.free_in_buffer;
  if (!dest->out->Write(std::span<const std::uint8_t>(dest->buffer, used))) FailWrite(cinfo);
}

struct EncodeJob {
  explicit EncodeJob(platform::ByteSink& out) {
    InitTrap(trap);
    cinfo.err = &trap.mgr;
    dest.mgr.init_destination = InitDestination;
    dest.mgr.empty_output_buffer = EmptyOutputBuffer;
    dest.mgr.term_destination = TermDestination;
    dest.out = &out;
  }
  ~EncodeJob() { jpeg_destroy_compress(&cinfo); }
  EncodeJob(const EncodeJob&) = delete;
  EncodeJob& operator=(const EncodeJob&) = delete;

  jpeg_compress_struct cinfo{};
  ErrorTrap trap{};
  FdDestination dest{};
};

bool CompressGuarded(EncodeJob* job, const RasterView* picture, std::uint8_t* rgb_row) {
  if (setjmp(job->trap.jump) != 0) return false;
  jpeg_compress_struct* cinfo = &job->cinfo;
  jpeg_create_compress(cinfo);
  cinfo->dest = &job->dest.mgr;
  cinfo->image_width = picture->width;
  cinfo->image_height = picture->height;
  cinfo->input_components = 3;
  cinfo->in_color_space = JCS_RGB;
  jpeg_set_defaults(cinfo);
  jpeg_start_compress(cinfo, TRUE);
  const std::size_t width = picture->width;
  const std::uint8_t* pixels = picture->pixels.data();
  while (cinfo->next_scanline < cinfo->image_height) {
    const std::size_t y = cinfo->next_scanline;
    JSAMPROW row;
    if (picture->layout == PixelLayout::rgb24) {
      // The library only reads input rows; its API lacks the const.
      row = const_cast<JSAMPROW>(pixels + y * width * 3);
    } else {
      const std::uint8_t* grey = pixels + y * width;
      for (std::size_t x = 0; x < width; ++x)
        rgb_row[3 * x] = rgb_row[3 * x + 1] = rgb_row[3 * x + 2] = grey[x];
      row = rgb_row;
    }
    jpeg_write_scanlines(cinfo, &row, 1);
  }
  jpeg_finish_compress(cinfo);
  return true;
}

}  // namespace

Result<Raster> DecodeJpeg(std::span<const std::uint8_t> bytes, std::size_t budget) {
  std::size_t raster_bytes = 0;
  auto started = StartDecoding(bytes, budget, &raster_bytes);
  if (!started) return started.failure();
  DecodeJob& job = **started;
  const jpeg_decompress_struct& cinfo = job.cinfo;
  auto raster = AllocateRaster(cinfo.image_width, cinfo.image_height, budget);
  if (!raster) return raster.failure();
  std::vector<JSAMPLE> cmyk_row;
  if (cinfo.out_color_space == JCS_CMYK) {
    try {
      cmyk_row.resize(std::size_t{cinfo.image_width} * 4);
    } catch (const std::bad_alloc&) {
      return Fail("not enough memory to decode the JPEG picture");
    }
  }
  if (!DecompressGuarded(&job, raster->rgb.data(), cmyk_row.empty() ? nullptr : cmyk_row.data()))
    return Fail(std::string("damaged JPEG picture: ") +
                    (job.trap.message[0] != '\0' ? job.trap.message : "unexpected size"),
                ErrorKind::damaged);
  if (Status damage = DamageFound(job); !damage) return damage.failure();
  return raster;
}

Result<JpegFacts> CheckJpeg(std::span<const std::uint8_t> bytes, std::size_t budget) {
  auto started = StartDecoding(bytes, budget, nullptr);
  if (!started) return started.failure();
  DecodeJob& job = **started;
  if (!CheckGuarded(&job))
    return Fail(std::string("damaged JPEG picture: ") + job.trap.message, ErrorKind::damaged);
  if (Status damage = DamageFound(job); !damage) return damage.failure();
  const jpeg_decompress_struct& cinfo = job.cinfo;
  return JpegFacts{cinfo.image_width, cinfo.image_height, cinfo.num_components, cinfo.arith_code != 0,
                   bytes.size() - cinfo.src->bytes_in_buffer};
}

Status EncodeJpeg(const RasterView& picture, platform::ByteSink& out) {
  if (!IsComplete(picture)) return Fail("cannot encode an empty or incomplete picture");
  if (picture.width > JPEG_MAX_DIMENSION || picture.height > JPEG_MAX_DIMENSION)
    return Fail("the picture is too large for a JPEG file");
  std::vector<std::uint8_t> rgb_row;
  auto job = std::make_unique<EncodeJob>(out);
  try {
    if (picture.layout == PixelLayout::grey8) rgb_row.resize(std::size_t{picture.width} * 3);
  } catch (const std::bad_alloc&) {
    return Fail("not enough memory to encode the JPEG picture");
  }
  if (!CompressGuarded(job.get(), &picture, rgb_row.data()))
    return Fail(std::string("cannot write the JPEG picture: ") + job->trap.message);
  return Success();
}

}  // namespace tavlix::imaging
