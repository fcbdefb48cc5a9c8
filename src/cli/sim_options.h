// The simulated board's options shared by `tavlix simulate` and `tavlix demo`.
#pragma once

#include <set>
#include <string>
#include <string_view>

#include "cli/options.h"
#include "platform/result.h"
#include "sim/sim_board.h"

namespace tavlix::cli {

inline const std::set<std::string> kSimBoardOptions = {"--steps", "--pace", "--picture",
                                                       "--pages", "--size", "--fault"};
inline constexpr std::string_view kSimBoardOptionsHelp =
    "  --steps N         progress steps a scan takes (default 5)\n"
    "  --pace MS         at least MS milliseconds between steps (default 300)\n"
    "  --picture KIND    png, jpeg or pdf: what a scan stores (default png)\n"
    "  --pages N         pages of a stored PDF, 1 to 4 (default 1)\n"
    "  --grey            store grey pictures\n"
    "  --size WxH        picture size in pixels (default 1600x900)\n"
    "  --fault F         every scan misbehaves: busy, error:N, status:N, bad-magic,\n"
    "                    never-release, stall:P, vanish:P[:MS], no-cmd-folder,\n"
    "                    slow-write:MS (the picture grows in pieces over MS ms),\n"
    "                    hold:MS (the picture stays in use for MS ms)\n";

struct SimSetup {
  sim::SimBoardOptions board;
  sim::Fault fault;
};

// Reads the options above (and --grey) into board options and a fault.
Result<SimSetup> SimBoardOptionsFrom(const ParsedOptions& options);

}  // namespace tavlix::cli
