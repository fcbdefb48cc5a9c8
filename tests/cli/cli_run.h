// Runs the command line inside the test and keeps what it printed.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli/command_line.h"

namespace tavlix::cli {

struct CliRun {
  int status;
  std::string out;
  std::string err;
};

inline CliRun Tavlix(std::vector<std::string> args) {
  std::ostringstream out, err;
  const int status = RunCommandLine(args, {out, err});
  return {status, out.str(), err.str()};
}

}  // namespace tavlix::cli
