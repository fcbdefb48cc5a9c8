// `tavlix simulate`: plays a board on a folder until Ctrl-C.
#include <chrono>
#include <cstdio>
#include <ostream>

#include "cli/command_line.h"
#include "cli/interrupt.h"
#include "cli/options.h"
#include "cli/sim_options.h"
#include "platform/clock.h"
#include "platform/file_times.h"
#include "sim/sim_board.h"

namespace tavlix::cli {

int RunSimulateCommand(std::span<const std::string> args, CommandIo io) {
  std::set<std::string> with_value = kSimBoardOptions;
  with_value.insert({"--table", "--root", "--letter", "--model", "--idle-picture-every"});
  const ParsedOptions options = ParseOptions(args, with_value, {"--grey", "--log"});
  if (options.has("--help")) {
    io.out << "Usage: tavlix simulate --table FILE --root DIR [OPTIONS]\n\n"
              "Plays a scanning board on the folder DIR: adds it to the drive table FILE\n"
              "(the file TAVLIX_DRIVE_TABLE names for the other commands) as a removable\n"
              "drive labelled with the model code, answers scan and feed commands in its\n"
              "cmd folder, and stores a picture for every scan. Ctrl-C unplugs it.\n\n"
              "  --letter L        the drive letter (default E)\n"
              "  --model CODE      the model code shown as the label (default R-61)\n"
           << kSimBoardOptionsHelp
           << "  --idle-picture-every MS  also store a picture every MS milliseconds\n"
              "  --log             tell what the board does, line by line\n";
    return kExitOk;
  }
  if (!options.error.empty() || !options.positional.empty()) {
    io.err << "tavlix simulate: " << (options.error.empty() ? "unexpected argument" : options.error) << "\n";
    return kExitUsage;
  }
  const auto table = options.value("--table");
  const auto root = options.value("--root");
  if (!table || !root) {
    io.err << "tavlix simulate: --table and --root are needed\n";
    return kExitUsage;
  }
  auto board_options = SimBoardOptionsFrom(options);
  if (!board_options) {
    io.err << "tavlix simulate: " << board_options.error() << "\n";
    return kExitUsage;
  }
  sim::SimBoardOptions& o = board_options->board;
  o.root = std::filesystem::absolute(*root);
  o.drive_table = std::filesystem::absolute(*table);
  if (const auto letter = options.value("--letter")) {
    if (letter->size() != 1 || (*letter)[0] < 'A' || (*letter)[0] > 'Z') {
      io.err << "tavlix simulate: --letter takes one upper-case letter\n";
      return kExitUsage;
    }
    o.letter = (*letter)[0];
  }
  if (const auto model = options.value("--model")) o.model = *model;
  std::optional<long> idle_every;
  if (const auto every = options.value("--idle-picture-every")) {
    idle_every = ParseNumber(*every, 10, 86'400'000);
    if (!idle_every) {
      io.err << "tavlix simulate: --idle-picture-every takes milliseconds\n";
      return kExitUsage;
    }
  }
  if (options.has("--log")) {
    o.log = [&io](const std::string& line) {
      const platform::LocalTime t = platform::ToLocalTime(std::chrono::system_clock::now());
      char stamp[16];
      std::snprintf(stamp, sizeof stamp, "%02d:%02d:%02d", t.hour, t.minute, t.second);
      io.out << stamp << " board: " << line << "\n" << std::flush;
    };
  }

  CatchInterrupts();
  sim::SimBoard board(o);
  board.Plug();
  board.SetNextFault(board_options->fault);
  board.Start();
  io.out << "Simulated board " << o.model << " on drive " << o.letter << " at " << o.root.string()
         << " (table " << o.drive_table.string() << "). Ctrl-C stops.\n"
         << std::flush;
  int finished = 0;
  auto last_idle = platform::Clock()->Now();
  while (!Interrupted()) {
    platform::SleepFor(platform::Millis(50));
    if (board.scans_finished() != finished) {  // every scan misbehaves the same way
      finished = board.scans_finished();
      board.SetNextFault(board_options->fault);
    }
    if (idle_every && platform::Clock()->Now() - last_idle >= platform::Millis(*idle_every)) {
      last_idle = platform::Clock()->Now();
      board.StorePicture();
    }
  }
  board.Stop();
  board.Unplug();
  io.out << "Simulated board stopped after " << board.scans_finished() << " scan(s).\n";
  return kExitOk;
}

}  // namespace tavlix::cli
