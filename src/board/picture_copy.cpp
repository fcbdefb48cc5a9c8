// TCommunicationThread::CopyImageFile: one picture from the board's root into
// the save folder under a time-stamped name, converted to the output format.
//
// Every file goes through a temporary file and never replaces another: the
// base name is the first of the time stamp, stamp-1, stamp-2, ... that is
// free for every file this copy may write (pages and fallback copies alike).
// A conversion that fails leaves a plain copy of the source and is reported
// as BOARD_SAVE_FAILED.
#include <string>
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

CopyPlan PlanCopy(int kind, int format) {
  if (kind == kImagePdf) {
    if (format == kOutputJpeg || format == kOutputPng) {
      const std::string ext = format == kOutputJpeg ? ".jpg" : ".png";
      return {CopyPlan::Step::board_pdf, ext, {ext, "_2" + ext, "_3" + ext, "_4" + ext, ".pdf"}};
    }
    return {CopyPlan::Step::board_pdf, ".pdf", {".pdf"}};
  }
  const std::string plain = PlainCopyExtension(kind);
  if (format == kOutputJpeg || (format == kOutputKeepBoardFormat && kind == kImageJpeg))
    return {CopyPlan::Step::to_jpeg, ".jpg", {".jpg", plain}};
  if (format == kOutputPng || (format == kOutputKeepBoardFormat && kind == kImagePng))
    return {CopyPlan::Step::to_png, ".png", {".png", plain}};
  return {CopyPlan::Step::to_pdf, ".pdf", {".pdf", plain}};
}

// The save folder, created (one level) when missing. An empty text is the
// current folder. nullopt when there is no folder to save in.
std::optional<fs::path> PrepareSaveFolder(const std::string& text) {
  if (text.empty()) return fs::path();
  const fs::path folder(text);
  if (!platform::DirectoryExists(folder)) platform::MakeDirectory(folder);
  if (!platform::DirectoryExists(folder)) return std::nullopt;
  return folder;
}

}  // namespace

bool TCommunicationThread::CopyImageFile(const std::string& strcopyfrom) {
  // The settings in force when the copy starts serve the whole copy.
  const int format = OutputFileExt.load();
  const std::shared_ptr<const std::string> save_path = SavePath();
  const auto failed = [this] {
    Notify(BOARD_SAVE_FAILED, 1);
    return false;
  };
  const int kind = ClassifyPictureName(strcopyfrom);
  if (kind == kImageNone) return failed();
  ImageType = kind;

  std::string model, root;
  const bool found = GetTargetDrive(model, root);
  Link().Connected = found;
  const fs::path source = root + strcopyfrom;
  if (!found || !platform::FileExists(source)) return failed();

  const auto folder = PrepareSaveFolder(*save_path);
  if (!folder) return failed();
  const std::string stamp = imaging::TimeStampName(platform::ToLocalTime(platform::Clock()->WallNow()));
  const CopyPlan plan = PlanCopy(kind, format);
  const auto base = imaging::ChooseFreeBase(*folder, stamp, plan.suffixes);
  if (!base) return failed();
  const fs::path target = *folder / (*base + plan.extension);

  bool saved = false;
  switch (plan.step) {
    case CopyPlan::Step::board_pdf: saved = SaveFromPDFimg(source, target, format) == 1; break;
    case CopyPlan::Step::to_pdf: saved = SaveToPDFimg(target, source) == 1; break;
    case CopyPlan::Step::to_jpeg:
    case CopyPlan::Step::to_png: {
      const auto picture_format =
          plan.step == CopyPlan::Step::to_jpeg ? imaging::PictureFormat::jpeg : imaging::PictureFormat::png;
      saved = static_cast<bool>(imaging::ConvertPicture(source, target, picture_format));
      // The picture is never lost: the source goes over as it is.
      if (!saved) (void)imaging::CopyFileNoReplace(source, *folder / (*base + PlainCopyExtension(kind)));
      break;
    }
  }
  if (!saved) return failed();
  RecordSavedPath(target);
  Notify(BOARD_IMAGE_SAVED, 1);
  if (FlgOpenSavedFile) platform::ShellOpen(target);
  return true;
}

}  // namespace tavlix
