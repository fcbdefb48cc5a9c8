// A small parser for "--name value" and "--flag" command-line options.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

namespace tavlix::cli {

struct ParsedOptions {
  std::map<std::string, std::string> values;  // "--save-to" -> "/x"
  std::set<std::string> flags;                // "--force"
  std::vector<std::string> positional;
  std::string error;  // empty when the line was understood

  bool has(const std::string& flag) const { return flags.count(flag) != 0; }
  std::optional<std::string> value(const std::string& name) const;
};

// `with_value` names the options that take a value, `flags` those that do
// not. "--name=value" is accepted too. Anything else starting with "--" is an
// error; "--help"/"-h" always count as the flag "--help".
ParsedOptions ParseOptions(std::span<const std::string> args, const std::set<std::string>& with_value,
                           const std::set<std::string>& flags);

// A whole decimal number within [min, max], or nullopt.
std::optional<long> ParseNumber(const std::string& text, long min, long max);

}  // namespace tavlix::cli
