// `tavlix convert`: the copy step's conversions on files named by the user.
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <vector>

#include "cli/command_line.h"
#include "cli/options.h"
#include "imaging/board_pdf_pictures.h"
#include "imaging/board_pdf_reader.h"
#include "imaging/pdf_packaging.h"
#include "imaging/picture_codec.h"
#include "platform/files.h"
#include "platform/path_text.h"

namespace tavlix::cli {
namespace {

namespace fs = std::filesystem;

constexpr const char* kConvertHelp =
    "Converts a picture the way pictures from the board are converted when\n"
    "they are copied to the save folder:\n"
    "  a board PDF     -> TARGET.png or TARGET.jpg, one picture a page; pages\n"
    "                     2 to 4 get \"_2\" ... \"_4\" before the extension\n"
    "  a JPEG or PNG   -> TARGET.pdf, one A4 landscape page with the picture\n"
    "                     fitted and centred, or TARGET.jpg / TARGET.png\n"
    "SOURCE's kind is read from its content; TARGET's extension (.png, .jpg,\n"
    ".jpeg or .pdf, in any case) chooses the output.\n"
    "\n"
    "An existing file is never replaced unless --force is given.\n"
    "Exit status: 0 converted, 1 the conversion failed, 2 bad usage.";

enum class Kind { board_pdf, jpeg, png };

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

Result<Kind> SourceKind(const fs::path& source) {
  auto head = platform::ReadFileHead(source, 8);
  if (!head) return head.failure();
  const std::vector<std::uint8_t>& bytes = *head;
  if (bytes.size() >= 5 && std::equal(bytes.begin(), bytes.begin() + 5, "%PDF-")) return Kind::board_pdf;
  if (const auto format = imaging::SniffFormat(bytes))
    return *format == imaging::PictureFormat::jpeg ? Kind::jpeg : Kind::png;
  return Fail(source.string() + " is neither a PDF nor a JPEG or PNG picture");
}

// Page k's name: "_k" before the extension.
fs::path PageName(const fs::path& target, int page) {
  if (page == 1) return target;
  fs::path name = target;
  name.replace_filename(target.stem().string() + "_" + std::to_string(page) + target.extension().string());
  return name;
}

struct Job {
  fs::path source;
  fs::path target;
  imaging::SaveMode mode = imaging::SaveMode::never_replace;
};

int Failed(CommandIo io, const std::string& message) {
  io.err << "tavlix convert: " << message << '\n';
  return kExitFailure;
}

// Without --force an existing target is refused before any work is done.
bool Taken(const Job& job, const fs::path& path, CommandIo io) {
  std::error_code ec;
  if (job.mode == imaging::SaveMode::replace || !fs::exists(fs::symlink_status(path, ec))) return false;
  io.err << "tavlix convert: " << path.string() << " exists; use --force to replace it\n";
  return true;
}

int ConvertBoardPdf(const Job& job, imaging::PictureFormat format, CommandIo io) {
  const auto pdf = imaging::ReadBoardPdf(job.source);
  if (!pdf) return Failed(io, "cannot convert the PDF: " + pdf.error());
  std::vector<fs::path> pages;
  for (int k = 1; k <= pdf->layout.pages; ++k) pages.push_back(PageName(job.target, k));
  for (const fs::path& page : pages)
    if (Taken(job, page, io)) return kExitFailure;
  std::vector<fs::path> saved;
  const Status done = imaging::SaveBoardPdfPages(*pdf, pages, format, job.mode, &saved);
  for (const fs::path& page : saved) io.out << "Wrote " << page.string() << '\n';
  if (!done) return Failed(io, done.error());
  return kExitOk;
}

int ConvertPictureFile(const Job& job, Kind kind, const std::string& extension, CommandIo io) {
  if (Taken(job, job.target, io)) return kExitFailure;
  const auto source_format = kind == Kind::jpeg ? imaging::PictureFormat::jpeg : imaging::PictureFormat::png;
  const Status done =
      extension == ".pdf"
          ? imaging::PackagePictureAsPdf(job.source, source_format, job.target, job.mode)
          : imaging::ConvertPicture(job.source, job.target, *imaging::FormatForName(job.target), job.mode);
  if (!done) return Failed(io, done.error());
  io.out << "Wrote " << job.target.string() << '\n';
  return kExitOk;
}

int Convert(const Job& job, CommandIo io) {
  const std::string extension = Lower(job.target.extension().string());
  if (extension != ".pdf" && !imaging::FormatForName(job.target)) {
    io.err << "tavlix convert: TARGET must end in .png, .jpg, .jpeg or .pdf\n";
    return kExitUsage;
  }
  const auto kind = SourceKind(job.source);
  if (!kind) return Failed(io, kind.error());
  if (*kind == Kind::board_pdf) {
    if (extension == ".pdf") {
      io.err << "tavlix convert: " << job.source.string() << " is a PDF already; TARGET must be a picture\n";
      return kExitUsage;
    }
    return ConvertBoardPdf(job, *imaging::FormatForName(job.target), io);
  }
  return ConvertPictureFile(job, *kind, extension, io);
}

}  // namespace

void AddConvertCommand(CommandLine& line) {
  auto job = std::make_shared<Job>();
  CLI::App& command = line.Add("convert", "convert a board PDF or a picture as the copy step does",
                               kConvertHelp, [job](CommandIo io) { return Convert(*job, io); });
  command
      .add_option_function<std::string>(
          "SOURCE", [job](const std::string& path) { job->source = platform::PathFromUtf8(path); },
          "a board PDF or a JPEG or PNG picture")
      ->required();
  command
      .add_option_function<std::string>(
          "TARGET", [job](const std::string& path) { job->target = platform::PathFromUtf8(path); },
          "the file to write")
      ->required();
  command.add_flag_callback(
      "--force", [job] { job->mode = imaging::SaveMode::replace; }, "replace existing files");
}

}  // namespace tavlix::cli
