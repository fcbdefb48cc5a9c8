// `tavlix demo`: a whole scan against a simulated board, on a machine without
// one. Everything it makes lives in a temporary folder that is removed
// afterwards, except the saved picture.
#include <fstream>
#include <memory>
#include <ostream>

#include "board/driver_facade.h"
#include "cli/board_session.h"
#include "cli/command_line.h"
#include "cli/options.h"
#include "cli/sim_options.h"
#include "platform/drives.h"
#include "platform/environment.h"
#include "platform/files.h"
#include "platform/known_folders.h"
#include "platform/path_text.h"
#include "sim/sim_board.h"

namespace tavlix::cli {
namespace fs = std::filesystem;
namespace {

// Points an environment variable elsewhere for the demo's life.
class EnvOverride {
 public:
  EnvOverride(const char* name, const std::string& value) : name_(name), old_(platform::GetEnv(name)) {
    platform::SetEnv(name, value);  // before any thread starts
  }
  ~EnvOverride() { platform::SetEnv(name_, old_); }
  EnvOverride(const EnvOverride&) = delete;
  EnvOverride& operator=(const EnvOverride&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

class TemporaryFolder {
 public:
  TemporaryFolder() {
    std::error_code ec;
    if (auto made = platform::MakeUniqueFolder(fs::temp_directory_path(ec), "tavlix-demo-")) path_ = *made;
  }
  ~TemporaryFolder() {
    std::error_code ec;
    if (!path_.empty()) fs::remove_all(path_, ec);
  }
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

struct DemoOptions {
  SimSetup setup = DefaultSimSetup();
  SessionOptions session;
};

int Demo(DemoOptions& options, CommandIo io) {
  TemporaryFolder work;
  if (work.path().empty()) {
    io.err << "tavlix demo: cannot make a temporary folder\n";
    return kExitFailure;
  }
  fs::path save_to = platform::PathFromUtf8(options.session.save_to.value_or(""));
  const bool own_folder = save_to.empty();
  if (own_folder) {
    std::error_code ec;
    const auto made = platform::MakeUniqueFolder(fs::temp_directory_path(ec), "tavlix-demo-pictures-");
    if (!made) {
      io.err << "tavlix demo: cannot make a folder for the picture: " << made.error() << "\n";
      return kExitFailure;
    }
    save_to = *made;
  }

  const fs::path table = work.path() / "drives.txt";
  EnvOverride drive_table(platform::kDriveTableVariable, platform::PathToUtf8(table));
  EnvOverride program_data(platform::kAllUsersProfileVariable,
                           platform::PathToUtf8(work.path() / "settings"));
  EnvOverride user_data(platform::kUserDataVariable, platform::PathToUtf8(work.path() / "settings"));
  fs::create_directories(work.path() / "settings");
  // A fixed system drive beside the board: its root is the root of the
  // work folder's file system ("/" here, "C:\\" on Windows).
  {
    std::ofstream(table) << "# tavlix demo: a simulated machine\nC fixed System "
                         << platform::PathToUtf8(work.path().root_path()) << "\n";
  }

  sim::SimBoardOptions& board_options = options.setup.board;
  board_options.root = work.path() / "board";
  board_options.drive_table = table;
  board_options.log = [&io](const std::string& line) { io.out << "  board: " << line << "\n" << std::flush; };
  sim::SimBoard board(board_options);
  board.Plug();
  board.SetNextFault(options.setup.fault);
  board.Start();

  io.out << "Simulated board " << board_options.model << " on drive " << board_options.letter << " ("
         << board_options.root.string() << ")\n"
         << "Scanning; pictures go to " << save_to.string() << "\n"
         << std::flush;
  options.session.save_to = platform::PathToUtf8(save_to);
  const int status = RunScan(options.session, io);
  board.Stop();
  board.Unplug();
  // A folder of the demo's own that got no picture is not left behind.
  if (status != kExitOk && own_folder) {
    std::error_code ec;
    fs::remove(save_to, ec);  // only when empty
  }
  io.out << (status == kExitOk ? "Demo finished: the picture is in " + save_to.string()
                               : "Demo ended without a picture (exit status " + std::to_string(status) + ")")
         << "\n";
  return status;
}

}  // namespace

void AddDemoCommand(CommandLine& line) {
  auto options = std::make_shared<DemoOptions>();
  options->setup.board.step_pace = platform::Millis(150);
  options->session.format = settings::OutputFormat::png;
  CLI::App& command = line.Add("demo", "run a whole scan against a simulated board and clean up",
                               "Makes a simulated machine with a board attached (a drive table and a board\n"
                               "folder in a temporary folder), runs a scan against it exactly as\n"
                               "'tavlix scan' does, prints where the picture went, and cleans up. Your own\n"
                               "settings are neither read nor changed.\n",
                               [options](CommandIo io) { return Demo(*options, io); });
  AddSessionOptions(command, options->session, "png", "a new temporary folder, kept afterwards");
  AddSimBoardOptions(command, options->setup);
}

}  // namespace tavlix::cli
