// TCommunicationThread::CopyImageFile: one picture from the board's root into
// the save folder under a time-stamped name, converted to the output format.
//
// Every file goes through a temporary file and never replaces another: the
// base name is the first of the time stamp, stamp-1, stamp-2, ... that is
// free for every file this copy may write (pages and fallback copies alike).
// A conversion that fails leaves a plain copy of the source and is reported
// as BOARD_SAVE_FAILED.
#include <algorithm>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "board/communication_thread.h"
#include "board/drive_discovery.h"
#include "board/link_state.h"
#include "board/picture_listing.h"
#include "imaging/picture_codec.h"
#include "imaging/picture_names.h"
#include "imaging/safe_save.h"
#include "platform/file_times.h"
#include "platform/files.h"
#include "platform/folder_nesting.h"
#include "platform/path_text.h"
#include "platform/shell.h"

namespace tavlix {
namespace {

namespace fs = std::filesystem;

// The extension of a plain copy of a JPEG or PNG source.
std::string PlainCopyExtension(int kind) {
  return kind == kImageJpeg ? ".jpg" : ".png";
}

// What one copy does: the target's extension, the files it may write.
struct CopyPlan {
  enum class Step { board_pdf, to_jpeg, to_png, to_pdf };
  Step step;
  std::string extension;
  std::vector<std::string> suffixes;
};

CopyPlan PlanCopy(int kind, OutputFormat format) {
  if (kind == kImagePdf) {
    if (format == OutputFormat::jpeg || format == OutputFormat::png) {
      const std::string ext = format == OutputFormat::jpeg ? ".jpg" : ".png";
      return {CopyPlan::Step::board_pdf, ext, {ext, "_2" + ext, "_3" + ext, "_4" + ext, ".pdf"}};
    }
    return {CopyPlan::Step::board_pdf, ".pdf", {".pdf"}};
  }
  const std::string plain = PlainCopyExtension(kind);
  if (format == OutputFormat::jpeg || (format == OutputFormat::board && kind == kImageJpeg))
    return {CopyPlan::Step::to_jpeg, ".jpg", {".jpg", plain}};
  if (format == OutputFormat::png || (format == OutputFormat::board && kind == kImagePng))
    return {CopyPlan::Step::to_png, ".png", {".png", plain}};
  return {CopyPlan::Step::to_pdf, ".pdf", {".pdf", plain}};
}

// The save folder, created (one level) when missing. An empty text is the
// current folder. nullopt when there is no folder to save in, and for the
// board's root itself: every copy saved there would be a new picture on the
// board, copied again and again until the board is full.
std::optional<fs::path> PrepareSaveFolder(const std::string& text, const std::string& board_root) {
  const fs::path folder = platform::PathFromUtf8(text);
  const fs::path root = platform::PathFromUtf8(board_root);
  const fs::path shown = text.empty() ? fs::path(".") : folder;
  if (platform::IsInsideFolder(shown, root) && platform::IsInsideFolder(root, shown)) return std::nullopt;
  if (text.empty()) return fs::path();
  if (!platform::DirectoryExists(folder)) platform::MakeDirectory(folder);
  if (!platform::DirectoryExists(folder)) return std::nullopt;
  return folder;
}

// Reads a file from the board once: a regular file, never through a link,
// not in use, at most imaging::kMaxCopyBytes. On failure `passing` tells
// whether a later try may succeed (in use, a read error), or not (gone, a
// link or no file, too large).
Result<std::vector<std::uint8_t>> ReadBoardFile(const fs::path& path, bool& passing) {
  auto bytes = platform::ReadFileBytes(path, imaging::kMaxCopyBytes);
  if (bytes) return bytes;
  std::error_code ec;
  const bool regular = fs::symlink_status(path, ec).type() == fs::file_type::regular;
  const auto size = regular ? fs::file_size(path, ec) : 0;
  passing = regular && !ec && size <= imaging::kMaxCopyBytes;
  return bytes;
}

}  // namespace

bool TCommunicationThread::CopyImageFile(const std::string& strcopyfrom) {
  saving_after_failure_ = false;
  const CopyOutcome outcome = TryCopy(strcopyfrom, [](std::span<const std::uint8_t>) { return true; });
  if (outcome == CopyOutcome::saved) return true;
  Notify(BOARD_SAVE_FAILED, 1);
  return false;
}

TCommunicationThread::CopyOutcome TCommunicationThread::TryCopy(
    const std::string& name, const std::function<bool(std::span<const std::uint8_t>)>& whole) {
  // The settings in force when the copy starts serve the whole copy.
  const OutputFormat format = OutputFileExt.load();
  const std::shared_ptr<const std::string> save_path = SavePath();
  const int kind = ClassifyPictureName(name);
  if (kind == kImageNone) return CopyOutcome::failed;
  ImageType = kind;

  std::string model, root;
  const bool found = GetTargetDrive(model, root);
  Link().Connected = found;
  if (!found) return CopyOutcome::passing;  // the picture stays on the board
  bool passing = false;
  const auto bytes = ReadBoardFile(platform::PathFromUtf8(root + name), passing);
  if (!bytes) return passing ? CopyOutcome::passing : CopyOutcome::failed;
  if (!whole(*bytes)) return CopyOutcome::passing;

  const auto folder = PrepareSaveFolder(*save_path, root);
  if (!folder) return CopyOutcome::save_refused;
  const std::string stamp = imaging::TimeStampName(platform::ToLocalTime(platform::Clock()->WallNow()));
  const CopyPlan plan = PlanCopy(kind, format);
  const auto base = imaging::ChooseFreeBase(*folder, stamp, plan.suffixes);
  if (!base) return CopyOutcome::save_refused;
  const fs::path target = *folder / (*base + plan.extension);
  // The conversions read a private snapshot of the bytes just checked, never
  // the board again: what is saved is what was found whole.
  // The snapshot is gone before anyone hears of the saved picture.
  bool saved = false;
  {
    auto snapshot = imaging::PendingFile::Create(*folder);
    if (!snapshot || !snapshot->Write(*bytes)) return CopyOutcome::save_refused;
    const fs::path source = snapshot->temp_path();
    switch (plan.step) {
      case CopyPlan::Step::board_pdf: saved = SaveFromPDFimg(source, target, format) == 1; break;
      case CopyPlan::Step::to_pdf: saved = SaveToPDFimg(target, source) == 1; break;
      case CopyPlan::Step::to_jpeg:
      case CopyPlan::Step::to_png: {
        const auto picture_format =
            plan.step == CopyPlan::Step::to_jpeg ? imaging::PictureFormat::jpeg : imaging::PictureFormat::png;
        saved = static_cast<bool>(imaging::ConvertPicture(source, target, picture_format));
        // The picture is never lost: the source goes over as it is.
        if (!saved) (void)imaging::WriteNewFileBytes(*folder / (*base + PlainCopyExtension(kind)), *bytes);
        break;
      }
    }
  }
  // A failed conversion that left its plain copy has failed for good; one
  // that could leave nothing met the save folder, and may go through later.
  const bool kept = RecordSaved(*folder, *base, plan.suffixes, saved);
  if (!saved) return kept ? CopyOutcome::failed : CopyOutcome::save_refused;
  Notify(BOARD_IMAGE_SAVED, saving_after_failure_ ? kSavedAfterFailure : 1);
  if (FlgOpenSavedFile) platform::ShellOpen(target);
  return CopyOutcome::saved;
}

bool TCommunicationThread::RecordSaved(const fs::path& folder, const std::string& base,
                                       const std::vector<std::string>& suffixes, bool saved) {
  // The base was free for every suffix when the copy began, so what bears it
  // now is this copy's.
  std::vector<SavedFile> written;
  for (const std::string& suffix : suffixes) {
    const fs::path path = folder / (base + suffix);
    std::error_code ec;
    if (fs::symlink_status(path, ec).type() == fs::file_type::regular &&
        std::ranges::find(written, path, &SavedFile::path) == written.end())
      written.push_back({path, saved, saved && saving_after_failure_});
  }
  std::lock_guard lock(saved_mutex_);
  saved_files_.insert(saved_files_.end(), written.begin(), written.end());
  return !written.empty();
}

std::vector<SavedFile> TCommunicationThread::TakeSavedFiles() {
  std::lock_guard lock(saved_mutex_);
  return std::exchange(saved_files_, {});
}

}  // namespace tavlix
