// TCommunicationThread::CopyImageFile: one picture from the board's root into
// the save folder under a time-stamped name, converted to the output format.
//
// Every file is written in a private folder inside the save folder and then
// renamed, never replacing another: the base name is the first of the time
// stamp, stamp-1, stamp-2, ... that is free for every file this copy may
// write (pages and fallback copies alike). Only the output needs room in the
// save folder: the board's PDF is the output itself, and the snapshot a
// conversion reads lies in the temporary folder. A conversion that fails
// leaves a plain copy of the source and is reported as BOARD_SAVE_FAILED.
#include <optional>
#include <span>
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
#include "imaging/staged_save.h"
#include "platform/file_times.h"
#include "platform/files.h"
#include "platform/folder_nesting.h"
#include "platform/path_text.h"
#include "platform/shell.h"

namespace tavlix::board {
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

CopyPlan PlanCopy(int kind, settings::OutputFormat format) {
  if (kind == kImagePdf) {
    if (format == settings::OutputFormat::jpeg || format == settings::OutputFormat::png) {
      const std::string ext = format == settings::OutputFormat::jpeg ? ".jpg" : ".png";
      return {CopyPlan::Step::board_pdf, ext, {ext, "_2" + ext, "_3" + ext, "_4" + ext, ".pdf"}};
    }
    return {CopyPlan::Step::board_pdf, ".pdf", {".pdf"}};
  }
  const std::string plain = PlainCopyExtension(kind);
  if (format == settings::OutputFormat::jpeg ||
      (format == settings::OutputFormat::board && kind == kImageJpeg))
    return {CopyPlan::Step::to_jpeg, ".jpg", {".jpg", plain}};
  if (format == settings::OutputFormat::png || (format == settings::OutputFormat::board && kind == kImagePng))
    return {CopyPlan::Step::to_png, ".png", {".png", plain}};
  return {CopyPlan::Step::to_pdf, ".pdf", {".pdf", plain}};
}

// The save folder, created (one level) when missing. An empty text is the
// current folder. nullopt when there is no folder to save in, and for the
// board's root itself, by any name (a link, a bind mount, the volume mounted
// twice): every copy saved there would be a new picture on the board, copied
// again and again until the board is full.
std::optional<fs::path> PrepareSaveFolder(const std::string& text, const std::string& board_root) {
  const fs::path folder = platform::PathFromUtf8(text);
  const fs::path root = platform::PathFromUtf8(board_root);
  if (!text.empty() && !platform::DirectoryExists(folder)) platform::MakeDirectory(folder);
  const fs::path shown = text.empty() ? fs::path(".") : folder;
  const auto same = platform::IsSameFolder(shown, root);
  if (same.value_or(platform::IsInsideFolder(shown, root) && platform::IsInsideFolder(root, shown)))
    return std::nullopt;
  if (text.empty()) return fs::path();
  if (!platform::DirectoryExists(folder)) return std::nullopt;
  return folder;
}

// Reads a file from the board once: a regular file, never through a link,
// not in use, at most imaging::kMaxCopyBytes. On failure `passing` tells
// whether a later try may succeed (in use, no rights yet, a read error), or
// not (gone, a link or no file, too large).
Result<std::vector<std::uint8_t>> ReadBoardFile(const fs::path& path, bool& passing) {
  auto bytes = platform::ReadFileBytes(path, imaging::kMaxCopyBytes);
  if (!bytes) {
    const ErrorKind kind = bytes.kind();
    passing = kind != ErrorKind::not_found && kind != ErrorKind::not_a_file && kind != ErrorKind::too_large &&
              kind != ErrorKind::damaged;
  }
  return bytes;
}

// The conversions' private copy of the board's bytes, kept where it does not
// compete with the output for room: in the user's temporary folder, in a
// folder only this user may enter; in the staging folder when there is no
// such place. Removed with the object.
class Snapshot {
 public:
  Snapshot(std::span<const std::uint8_t> bytes, const imaging::StagedSave& stage) {
    std::error_code ec;
    const fs::path temp = fs::temp_directory_path(ec);
    if (!ec)
      if (auto made = platform::MakeUniqueFolder(temp, std::string(imaging::kPendingPrefix) + "snapshot-"))
        folder_ = *made;
    path_ = folder_.empty() ? stage.Path(".snapshot") : folder_ / "snapshot";
    written_ = static_cast<bool>(imaging::WriteNewFileBytes(path_, bytes));
  }
  ~Snapshot() {
    (void)platform::RemoveFile(path_);
    std::error_code ec;
    if (!folder_.empty()) fs::remove(folder_, ec);
  }
  Snapshot(const Snapshot&) = delete;
  Snapshot& operator=(const Snapshot&) = delete;

  bool written() const { return written_; }
  const fs::path& path() const { return path_; }

 private:
  fs::path folder_;
  fs::path path_;
  bool written_ = false;
};

// Writes what `plan` asks of the board's bytes into the staging folder; a
// conversion that fails leaves a plain copy of the source there. true when
// the output was written.
bool Convert(TCommunicationThread& worker, std::span<const std::uint8_t> bytes, int kind,
             const CopyPlan& plan, settings::OutputFormat format, const imaging::StagedSave& stage) {
  const fs::path target = stage.Path(plan.extension);
  // The board's own PDF goes over as it is: the bytes just checked are the
  // output, and no second copy of them needs room in the save folder.
  if (plan.step == CopyPlan::Step::board_pdf && target.extension() == ".pdf")
    return static_cast<bool>(imaging::WriteNewFileBytes(target, bytes));
  // The conversions read a private snapshot of the bytes just checked, never
  // the board again: what is saved is what was found whole.
  const Snapshot snapshot(bytes, stage);
  if (!snapshot.written()) return false;
  switch (plan.step) {
    case CopyPlan::Step::board_pdf: return worker.SaveFromPDFimg(snapshot.path(), target, format) == 1;
    case CopyPlan::Step::to_pdf: return worker.SaveToPDFimg(target, snapshot.path()) == 1;
    case CopyPlan::Step::to_jpeg:
    case CopyPlan::Step::to_png: break;
  }
  const auto picture_format =
      plan.step == CopyPlan::Step::to_jpeg ? imaging::PictureFormat::jpeg : imaging::PictureFormat::png;
  if (imaging::ConvertPicture(snapshot.path(), target, picture_format)) return true;
  // The picture is never lost: the source goes over as it is.
  (void)imaging::WriteNewFileBytes(stage.Path(PlainCopyExtension(kind)), bytes);
  return false;
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
  const settings::OutputFormat format = OutputFileExt.load();
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
  auto stage = imaging::StagedSave::Create(*folder, stamp, plan.suffixes);
  if (!stage) return CopyOutcome::save_refused;
  const bool saved = Convert(*this, *bytes, kind, plan, format, *stage);
  // The names are chosen only now, and only the files this copy wrote are
  // named: a name another program took meanwhile moves them to the next one.
  const Status committed = stage->Commit();
  const bool complete = saved && committed;
  RecordSaved(stage->committed(), complete);
  // A failed conversion that left its plain copy has failed for good; one
  // that could leave nothing met the save folder, and may go through later.
  if (!complete) return stage->committed().empty() ? CopyOutcome::save_refused : CopyOutcome::failed;
  Notify(BOARD_IMAGE_SAVED, saving_after_failure_ ? kSavedAfterFailure : 1);
  if (FlgOpenSavedFile) platform::ShellOpen(stage->committed().front());
  return CopyOutcome::saved;
}

void TCommunicationThread::RecordSaved(const std::vector<fs::path>& paths, bool saved) {
  std::lock_guard lock(saved_mutex_);
  for (const fs::path& path : paths) saved_files_.push_back({path, saved, saved && saving_after_failure_});
}

std::vector<SavedFile> TCommunicationThread::TakeSavedFiles() {
  std::lock_guard lock(saved_mutex_);
  return std::exchange(saved_files_, {});
}

}  // namespace tavlix::board
