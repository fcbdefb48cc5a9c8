#include <iostream>

#include "cli/command_line.h"
#include "platform/process.h"

int main(int argc, char** argv) {
  tavlix::platform::RestrictLibrarySearch();
  const auto args = tavlix::platform::ProcessArguments(argc, argv);
  return tavlix::cli::RunCommandLine(args, {std::cout, std::cerr});
}
