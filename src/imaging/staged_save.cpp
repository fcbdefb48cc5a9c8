#include "imaging/staged_save.h"

#include <system_error>
#include <utility>

#include "imaging/picture_names.h"
#include "platform/files.h"
#include "platform/pending_file.h"

namespace tavlix::imaging {

namespace fs = std::filesystem;

namespace {

// The staged files' names: one fixed stem, the suffix after it.
constexpr const char* kStagedStem = "picture";

bool IsStaged(const fs::path& path) {
  std::error_code ec;
  return fs::symlink_status(path, ec).type() == fs::file_type::regular;
}

}  // namespace

Result<StagedSave> StagedSave::Create(const fs::path& folder, std::string stamp,
                                      std::vector<std::string> suffixes) {
  const fs::path base = folder.empty() ? fs::path(".") : folder;
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path stage = base / platform::PendingFileName();
    if (platform::MakeDirectory(stage))
      return StagedSave(folder, std::move(stage), std::move(stamp), std::move(suffixes));
  }
  return Fail("cannot make a folder in " + base.string(), ErrorKind::other);
}

StagedSave::StagedSave(fs::path folder, fs::path stage, std::string stamp, std::vector<std::string> suffixes)
    : folder_(std::move(folder)),
      stage_(std::move(stage)),
      stamp_(std::move(stamp)),
      suffixes_(std::move(suffixes)) {}

StagedSave::StagedSave(StagedSave&& other) noexcept
    : folder_(std::move(other.folder_)),
      stage_(std::exchange(other.stage_, {})),
      stamp_(std::move(other.stamp_)),
      suffixes_(std::move(other.suffixes_)),
      committed_(std::move(other.committed_)) {}

StagedSave::~StagedSave() {
  Discard();
}

void StagedSave::Discard() {
  if (stage_.empty()) return;
  for (const std::string& suffix : suffixes_) (void)platform::RemoveFile(Path(suffix));
  std::error_code ec;
  fs::remove(stage_, ec);  // only when empty: a stray entry keeps it
  stage_.clear();
}

fs::path StagedSave::Path(const std::string& suffix) const {
  return stage_ / (kStagedStem + suffix);
}

Status StagedSave::Commit() {
  Status named = NameStaged();
  Discard();
  return named;
}

Status StagedSave::NameStaged() {
  int counter = 0;
  bool chosen = false;
  for (const std::string& suffix : suffixes_) {
    const fs::path staged = Path(suffix);
    if (!IsStaged(staged)) continue;
    for (;;) {
      if (!chosen) {
        const auto free = FreeBaseCounter(folder_, stamp_, suffixes_, counter);
        if (!free) return free.failure();
        counter = *free;
        chosen = true;
      }
      const fs::path target = folder_ / (BaseName(stamp_, counter) + suffix);
      Status renamed = platform::RenameNoReplace(staged, target);
      if (renamed) {
        committed_.push_back(target);
        break;
      }
      if (renamed.kind() != ErrorKind::name_taken) return renamed;
      // Another program took the name since the base was chosen.
      ++counter;
      chosen = false;
    }
  }
  if (!committed_.empty()) platform::SyncFolder(folder_);
  return Success();
}

}  // namespace tavlix::imaging
