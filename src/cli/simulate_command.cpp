// `tavlix simulate`: plays a board on a folder until Ctrl-C.
#include <chrono>
#include <cstdio>
#include <memory>
#include <ostream>

#include "cli/command_line.h"
#include "cli/interrupt.h"
#include "cli/options.h"
#include "cli/sim_options.h"
#include "platform/clock.h"
#include "platform/file_times.h"
#include "platform/path_text.h"
#include "sim/sim_board.h"

namespace tavlix::cli {

namespace {

struct SimulateOptions {
  SimSetup setup = DefaultSimSetup();
  std::string table;
  std::string root;
  std::optional<long> idle_every;  // milliseconds
  bool log = false;
};

int Simulate(SimulateOptions& options, CommandIo io) {
  sim::SimBoardOptions& o = options.setup.board;
  o.root = std::filesystem::absolute(platform::PathFromUtf8(options.root));
  o.drive_table = std::filesystem::absolute(platform::PathFromUtf8(options.table));
  if (options.log) {
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
  board.SetNextFault(options.setup.fault);
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
      board.SetNextFault(options.setup.fault);
    }
    if (options.idle_every && platform::Clock()->Now() - last_idle >= platform::Millis(*options.idle_every)) {
      last_idle = platform::Clock()->Now();
      board.StorePicture();
    }
  }
  board.Stop();
  board.Unplug();
  io.out << "Simulated board stopped after " << board.scans_finished() << " scan(s).\n";
  return kExitOk;
}

}  // namespace

void AddSimulateCommand(CommandLine& line) {
  auto options = std::make_shared<SimulateOptions>();
  CLI::App& command = line.Add("simulate", "play a simulated board on a folder, for trying without hardware",
                               "Plays a scanning board on the folder DIR: adds it to the drive table FILE\n"
                               "(the file TAVLIX_DRIVE_TABLE names for the other commands) as a removable\n"
                               "drive labelled with the model code, answers scan and feed commands in its\n"
                               "cmd folder, and stores a picture for every scan. Ctrl-C unplugs it.\n",
                               [options](CommandIo io) { return Simulate(*options, io); });
  sim::SimBoardOptions& o = options->setup.board;
  AddParsedOption(command, "--table", "FILE", options->table, NonEmpty, "a file", "the drive table to join")
      ->required();
  AddParsedOption(command, "--root", "DIR", options->root, NonEmpty, "a folder",
                  "the folder the board plays on")
      ->required();
  const auto letter = [](const std::string& text) {
    return text.size() == 1 && text[0] >= 'A' && text[0] <= 'Z' ? std::optional(text[0]) : std::nullopt;
  };
  AddParsedOption(command, "--letter", "L", o.letter, letter, "one upper-case letter",
                  std::string("the drive letter (default ") + o.letter + ")");
  AddParsedOption(command, "--model", "CODE", o.model, NonEmpty, "a model code",
                  "the model code shown as the label (default " + o.model + ")");
  AddSimBoardOptions(command, options->setup);
  AddParsedOption(command, "--idle-picture-every", "MS", options->idle_every, NumberIn(10, 86'400'000),
                  "a number of milliseconds from 10", "also store a picture every MS milliseconds");
  command.add_flag("--log", options->log, "tell what the board does, line by line");
}

}  // namespace tavlix::cli
