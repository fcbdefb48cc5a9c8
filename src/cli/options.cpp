#include "cli/options.h"

#include <charconv>

namespace tavlix::cli {

std::optional<std::string> ParsedOptions::value(const std::string& name) const {
  const auto it = values.find(name);
  if (it == values.end()) return std::nullopt;
  return it->second;
}

ParsedOptions ParseOptions(std::span<const std::string> args, const std::set<std::string>& with_value,
                           const std::set<std::string>& flags) {
  ParsedOptions parsed;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string arg = args[i];
    if (arg == "-h" || arg == "--help") {
      parsed.flags.insert("--help");
      continue;
    }
    if (arg.rfind("--", 0) != 0 || arg == "--") {
      parsed.positional.push_back(arg);
      continue;
    }
    std::optional<std::string> inline_value;
    if (const auto eq = arg.find('='); eq != std::string::npos) {
      inline_value = arg.substr(eq + 1);
      arg.resize(eq);
    }
    if (with_value.count(arg) != 0) {
      if (inline_value) {
        parsed.values[arg] = *inline_value;
      } else if (i + 1 < args.size()) {
        parsed.values[arg] = args[++i];
      } else {
        parsed.error = "option " + arg + " needs a value";
        return parsed;
      }
    } else if (flags.count(arg) != 0 && !inline_value) {
      parsed.flags.insert(arg);
    } else {
      parsed.error = "unknown option " + args[i];
      return parsed;
    }
  }
  return parsed;
}

std::optional<long> ParseNumber(const std::string& text, long min, long max) {
  long value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value < min || value > max)
    return std::nullopt;
  return value;
}

}  // namespace tavlix::cli
