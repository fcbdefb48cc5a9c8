// The command line's declaration: every command adds itself, its options and
// its help to one CLI11 parser, and gives the function that runs it once the
// whole line has been understood.
//
// Parse errors stay inside CommandLine::Run: they become a message on `err`
// and the usage exit status; `--help` prints the chosen command's help.
#pragma once

#include <CLI/CLI.hpp>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "cli/command_line.h"

namespace tavlix::cli {

// What a command does once the line has been read; returns the exit status.
using CommandRun = std::function<int(CommandIo)>;

class CommandLine {
 public:
  // `summary` heads `tavlix --help`, `footer` ends it.
  CommandLine(const std::string& summary, const std::string& footer);

  // Adds the command `name`: `summary` lists it in `tavlix --help` and heads
  // its own help, `details` ends its own help. Options go on the result.
  CLI::App& Add(const std::string& name, const std::string& summary, const std::string& details,
                CommandRun run);

  // Reads `args` (without the program name) and runs the chosen command.
  int Run(std::span<const std::string> args, CommandIo io);

 private:
  CLI::App app_;
  CommandRun chosen_;
};

// Adds "--name VALUE" to `command`; `parse` turns the text into the target's
// value, or nullopt for a usage error that says `name` takes `expected`.
template <class T, class Parse>
CLI::Option* AddParsedOption(CLI::App& command, const std::string& name, const std::string& value_name,
                             T& target, Parse parse, const std::string& expected, const std::string& help) {
  return command
      .add_option_function<std::string>(
          name,
          [&target, parse, name, expected](const std::string& text) {
            auto value = parse(text);
            if (!value) throw CLI::ValidationError(name + ": '" + text + "' is not " + expected);
            target = static_cast<T>(*value);
          },
          help)
      ->type_name(value_name);
}

// A whole decimal number within [min, max], or nullopt.
std::optional<long> ParseNumber(const std::string& text, long min, long max);

// Any text but an empty one, as a parse function for AddParsedOption.
inline std::optional<std::string> NonEmpty(const std::string& text) {
  return text.empty() ? std::nullopt : std::optional(text);
}

// ParseNumber as a parse function for AddParsedOption.
inline auto NumberIn(long min, long max) {
  return [min, max](const std::string& text) { return ParseNumber(text, min, max); };
}

}  // namespace tavlix::cli
