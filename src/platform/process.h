// The running process.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tavlix::platform {

// Makes the system look for the libraries the process loads later (by name,
// at run time) only in the system's own folder, never beside the program or in
// the working folder, where a planted copy could be picked up. Call first
// thing in main, before anything loads a library; nothing to do where the
// system has no such search. Any thread.
void RestrictLibrarySearch();

// This process's id, as the system shows it.
std::uint32_t ProcessId();

// The process's command-line arguments after the program's name, as UTF-8:
// main's argc and argv where the system hands them over in UTF-8 already;
// where it hands them over in a code page (Windows), read again from the
// process's own UTF-16 command line, so no name outside that code page is lost.
std::vector<std::string> ProcessArguments(int argc, char** argv);

// The folder of the running program's own file, or nullopt when the system
// does not tell it.
std::optional<std::filesystem::path> ProgramFolder();

}  // namespace tavlix::platform
