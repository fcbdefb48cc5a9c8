// Whether a save may replace an existing file. The copy step never does; the
// command line does when the user says --force.
#pragma once

namespace tavlix::imaging {

enum class SaveMode { never_replace, replace };

}  // namespace tavlix::imaging
