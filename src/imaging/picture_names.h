// Names of saved pictures: the time stamp, the page suffix, and the free base
// name that keeps a save from ever meeting an existing file.
//
// A copy writes one or more files that share a base name: the time stamp
// "20201203_142501", or, when any file of the copy would meet an existing
// one, the stamp followed by "-1", "-2", ... (20201203_142501-1.png,
// 20201203_142501-1_2.png). Pure functions except ChooseFreeBase, which looks
// at the folder. Thread-safe.
#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "core/result.h"
#include "platform/file_times.h"

namespace tavlix::imaging {

// "%04d%02d%02d_%02d%02d%02d" of the local date and time.
std::string TimeStampName(const platform::LocalTime& time);

// The first of `stamp`, `stamp`-1, `stamp`-2, ... such that no entry
// folder/(base + suffix) exists for any of `suffixes` (such as ".png",
// "_2.png", ".pdf"). An empty folder is the current one.
Result<std::string> ChooseFreeBase(const std::filesystem::path& folder, std::string_view stamp,
                                   std::span<const std::string> suffixes);

// The counter of that base, looking from `first` on (0 is the bare stamp).
Result<int> FreeBaseCounter(const std::filesystem::path& folder, std::string_view stamp,
                            std::span<const std::string> suffixes, int first);

// `stamp` for counter 0, else `stamp`-counter.
std::string BaseName(std::string_view stamp, int counter);

// Page k (2 and up) of a multi-page save: "_k" inserted before the last four
// characters (the extension). Page 1, and a path shorter than four characters,
// stay as they are.
std::filesystem::path PagePath(const std::filesystem::path& first_page, int page);

// The path with its last four characters replaced by `extension` (".pdf").
std::filesystem::path WithLastFourCharactersReplaced(const std::filesystem::path& path,
                                                     std::string_view extension);

}  // namespace tavlix::imaging
