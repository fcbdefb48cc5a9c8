// The files of one save (a picture, the pages of a PDF, a plain copy kept
// after a failed conversion), written in a private folder inside the save
// folder and then given their time-stamped names (picture_names.h) together.
//
// A name chosen while the save is written may be taken by another program
// before the file gets it: the rename never replaces, and the file (with
// those after it) goes under the next free base instead. Only files this
// save wrote are ever renamed or reported. The private folder bears a name of
// the saver's temporaries (kPendingPrefix ... kPendingSuffix), so what a
// killed save leaves is removed as stale_temporaries.h says.
//
// Move-only, one thread at a time; the destructor removes what was never
// committed, and the private folder.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/result.h"

namespace tavlix::imaging {

class StagedSave {
 public:
  // `suffixes`: every file the save may write, each after the same base
  // (".png", "_2.png", ".pdf"); an empty folder is the current one. Fails
  // when the private folder cannot be made.
  static Result<StagedSave> Create(const std::filesystem::path& folder, std::string stamp,
                                   std::vector<std::string> suffixes);
  StagedSave(StagedSave&& other) noexcept;
  StagedSave& operator=(StagedSave&&) = delete;
  StagedSave(const StagedSave&) = delete;
  StagedSave& operator=(const StagedSave&) = delete;
  ~StagedSave();

  // Where the file that is to bear `suffix` is written (a file name ending
  // in the suffix, so names derived from it by page or extension are
  // staged too when their suffix is one of the save's).
  std::filesystem::path Path(const std::string& suffix) const;

  // Names every staged file, in the order of the suffixes. Fails when a
  // rename fails for another reason than a taken name; what was named
  // before stays named (committed()), the rest is removed.
  Status Commit();

  // The final paths of the files this save wrote, in the order of the
  // suffixes.
  const std::vector<std::filesystem::path>& committed() const { return committed_; }

 private:
  StagedSave(std::filesystem::path folder, std::filesystem::path stage, std::string stamp,
             std::vector<std::string> suffixes);
  Status NameStaged();
  void Discard();  // removes what is staged, and the private folder

  std::filesystem::path folder_;
  std::filesystem::path stage_;  // the private folder; empty once moved from
  std::string stamp_;
  std::vector<std::string> suffixes_;
  std::vector<std::filesystem::path> committed_;
};

}  // namespace tavlix::imaging
