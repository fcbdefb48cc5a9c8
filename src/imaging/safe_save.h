// Saving without ever overwriting, over the platform's pending files: every
// file is written to a temporary file in its final folder, flushed to the
// device, and given its final name only if no file of that name exists. A
// crash, a full disk or a failed encoder leaves no partial file under a final
// name, and a name that a file took meanwhile is reported, never replaced.
//
// Thread-safe; failures are Results with a message naming the file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>

#include "core/result.h"
#include "imaging/save_mode.h"
#include "platform/pending_file.h"

namespace tavlix::imaging {

namespace fs = std::filesystem;
using platform::kPendingPrefix;
using platform::kPendingSuffix;

using platform::PendingFile;

// Creates `final_path` with what `write` puts into the pending file. When
// `write` fails, nothing is left behind.
Status WriteNewFile(const fs::path& final_path, const std::function<Status(PendingFile&)>& write,
                    SaveMode mode = SaveMode::never_replace);

// The largest file a copy takes: far above any scan, far below a disk.
inline constexpr std::uint64_t kMaxCopyBytes = std::uint64_t{256} << 20;

// Creates `final_path` holding `bytes`.
Status WriteNewFileBytes(const fs::path& final_path, std::span<const std::uint8_t> bytes);

// Copies `source` to the new file `target` byte for byte. The source is
// outside data: a regular file only, never through a link, opened without
// blocking and under a shared lock (a file in use fails), at most max_bytes.
// The copy gets the permissions of any new file of the user, never the
// source's.
Status CopyFileNoReplace(const fs::path& source, const fs::path& target,
                         std::uint64_t max_bytes = kMaxCopyBytes);

// The folder a file is written in: the path's parent ("" for a bare name).
fs::path FolderOf(const fs::path& path);

}  // namespace tavlix::imaging
