// Finding the board's drive among the present drives.
//
// Callable from the window's and the worker's thread; takes no lock. Reads the
// link's Connected flag and notification window, never writes Connected: each
// caller decides whether to store the result there.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/drives.h"

namespace tavlix::board {

// Looks for the first removable drive (lowest position first) whose label is a
// model code. On success writes the code followed by one space into
// cModelName, the drive's root folder into TargetDriveName, sends BOARD_FOUND
// (position * 16 + row) when Connected is false, and returns true. On failure
// touches neither string, sends BOARD_LOST (1) when Connected is true, and
// returns false. The position counts every present drive, of any type.
bool GetTargetDrive(std::string& cModelName, std::string& TargetDriveName);

// The board drive's root as GetTargetDrive finds it (notifying as it does), or
// nullopt when no board is present.
std::optional<std::string> BoardDriveRoot();

// The same search over a given drive list, without notifying: for front ends
// that describe the drives.
struct BoardMatch {
  int position = -1;  // index among all present drives
  int row = 0;        // model row 1..12
};
std::optional<BoardMatch> FindBoardDrive(const std::vector<platform::DriveInfo>& drives);

// BOARD_FOUND's argument for a match.
inline int BoardFoundArgument(const BoardMatch& match) {
  return match.position * 16 + match.row;
}

}  // namespace tavlix::board
