// Whether a save may replace an existing file. The copy step never does; the
// command line does when the user says --force.
#pragma once

#include "platform/pending_file.h"

namespace tavlix::imaging {

using SaveMode = platform::CommitMode;

}  // namespace tavlix::imaging
