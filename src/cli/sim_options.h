// The simulated board's options shared by `tavlix simulate` and `tavlix demo`.
#pragma once

#include "sim/sim_board.h"

namespace CLI {
class App;
}

namespace tavlix::cli {

struct SimSetup {
  sim::SimBoardOptions board;
  sim::Fault fault;  // what every scan does wrong
};

// The command line's defaults: 300 ms between steps, 1600x900 pictures.
SimSetup DefaultSimSetup();

// Declares --steps, --pace, --picture, --pages, --grey, --size and --fault,
// read into `setup`; its values when called are the defaults the help names.
// The faults --fault knows are added to the command's help.
void AddSimBoardOptions(CLI::App& command, SimSetup& setup);

}  // namespace tavlix::cli
