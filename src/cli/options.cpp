#include "cli/options.h"

#include <charconv>
#include <ostream>
#include <vector>

#include "tavlix_version.h"

namespace tavlix::cli {

CommandLine::CommandLine(const std::string& summary, const std::string& footer) : app_(summary, "tavlix") {
  app_.footer(footer);
  app_.set_version_flag("--version", std::string("tavlix ") + kVersion);
  app_.require_subcommand(1);
  app_.allow_windows_style_options(false);  // "/x" is a path on every system
  app_.get_formatter()->column_width(26);
  app_.get_formatter()->label("SUBCOMMAND", "COMMAND");
}

CLI::App& CommandLine::Add(const std::string& name, const std::string& summary, const std::string& details,
                           CommandRun run) {
  CLI::App* command = app_.add_subcommand(name, summary);
  command->footer(details);
  command->group("Commands");
  command->callback([this, run = std::move(run)] { chosen_ = run; });
  return *command;
}

int CommandLine::Run(std::span<const std::string> args, CommandIo io) {
  if (args.empty()) {
    io.err << app_.help();
    return kExitUsage;
  }
  std::vector<std::string> reversed(args.rbegin(), args.rend());  // as CLI11 reads them
  if (reversed.back() == "help") reversed.back() = "--help";
  try {
    app_.parse(reversed);
  } catch (const CLI::CallForHelp&) {
    io.out << app_.help();  // the chosen command's, if any
    return kExitOk;
  } catch (const CLI::CallForVersion& version) {
    io.out << version.what() << '\n';
    return kExitOk;
  } catch (const CLI::ParseError& error) {
    const auto chosen = app_.get_subcommands();
    if (chosen.empty() && !args.front().starts_with('-')) {
      io.err << "tavlix: unknown command '" << args.front() << "'\n"
             << "Run 'tavlix --help' for the list of commands.\n";
      return kExitUsage;
    }
    const std::string program = chosen.empty() ? "tavlix" : "tavlix " + chosen.front()->get_name();
    io.err << program << ": " << error.what() << "\nRun '" << program << " --help' for the options.\n";
    return kExitUsage;
  }
  return chosen_(io);
}

std::optional<long> ParseNumber(const std::string& text, long min, long max) {
  long value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value < min || value > max)
    return std::nullopt;
  return value;
}

}  // namespace tavlix::cli
