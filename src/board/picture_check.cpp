// TCommunicationThread::CheckImageFile: looking for a picture the board has
// stored since the last one seen, and taking it once it is whole.
#include <algorithm>
#include <system_error>
#include <utility>

#include "board/communication_thread.h"
#include "board/drive_discovery.h"
#include "board/link_state.h"
#include "board/picture_complete.h"
#include "board/picture_listing.h"
#include "platform/file_times.h"
#include "platform/path_text.h"

namespace tavlix::board {

bool TCommunicationThread::CheckImageFile(bool checkwithsave) {
  if (!checkwithsave) pending_pictures_.clear();
  std::string model, root;
  const bool found = GetTargetDrive(model, root);
  Link().Connected = found;
  if (!found) {
    if (!checkwithsave) LatestImageTime.Prime({});
    return false;  // pending pictures wait for the board's return
  }
  const std::vector<BoardPicture> listing = ListBoardPictures(root);
  // Without saving, the check only learns the pictures present.
  if (!checkwithsave) {
    LatestImageTime.Prime(listing);
    return false;
  }
  TakeOverRecord();
  // A pending picture removed from the board is no longer waited for (an
  // empty listing may be a passing read error, so it forgets nothing).
  if (!listing.empty()) {
    std::erase_if(pending_pictures_, [&](const auto& entry) {
      const bool gone = std::ranges::find(listing, entry.first, &BoardPicture::name) == listing.end();
      if (gone) LatestImageTime.Drop(entry.first);
      return gone;
    });
  }
  std::vector<BoardPicture> unfinished = LatestImageTime.Unfinished(listing);
  bool taken = false;
  for (auto picture = unfinished.begin(); picture != unfinished.end(); ++picture) {
    if (const auto pending = pending_pictures_.find(picture->name);
        pending != pending_pictures_.end() && pending->second.created != picture->created)
      pending_pictures_.erase(pending);  // another file under the same name
    // Open before the copy: should this collector end during it, the next
    // one takes the picture.
    if (LatestImageTime.Open(*picture)) StoreRecord();
    // One picture taken a cycle, the oldest first; a pending one does not
    // hold up the rest.
    if (TryCollect(root, picture->name, picture->created) == CopyOutcome::passing) continue;
    taken = true;
    pending_pictures_.erase(picture->name);
    // Some file systems move a file's creation time with its last change
    // (Wine keeps it from the status-change time): a picture finished
    // between the listing and the read must not look new afterwards.
    BoardPicture finished = *picture;
    if (const auto now = platform::FileCreationTime(platform::PathFromUtf8(root + picture->name));
        now && *now > finished.created)
      finished.created = *now;
    LatestImageTime.Finish(finished);
    unfinished.erase(picture);
    break;
  }
  LatestImageTime.Settle(unfinished);
  // After a picture taken, the next cycle writes the record with the next
  // picture it opens (one write a picture in a burst): ended meanwhile, this
  // collector leaves the picture open, taken again rather than lost.
  if (!taken || unfinished.empty()) StoreRecord();
  return taken;
}

TCommunicationThread::CopyOutcome TCommunicationThread::TryCollect(const std::string& root,
                                                                   const std::string& name,
                                                                   platform::WallTime created) {
  const platform::Millis now = platform::Clock()->Now();
  const auto found = pending_pictures_.find(name);
  PendingPicture* pending = found == pending_pictures_.end() ? nullptr : &found->second;
  // Size and modification time, for pictures whose structure cannot tell.
  std::error_code size_ec, time_ec;
  const std::filesystem::path path = platform::PathFromUtf8(root + name);
  const auto size = std::filesystem::file_size(path, size_ec);
  const auto modified = std::filesystem::last_write_time(path, time_ec);
  std::optional<std::pair<std::uintmax_t, std::filesystem::file_time_type>> look;
  if (!size_ec && !time_ec) look.emplace(size, modified);
  const bool unchanged = pending && look && pending->look == look;
  const bool settled = unchanged && now - pending->unchanged_since >= kPictureSettleTime;

  CopyOutcome outcome = CopyOutcome::passing;
  bool incomplete = false;
  // An unfinished picture that has not changed is not read again until it
  // has settled.
  if (!(unchanged && pending->incomplete && !settled)) {
    const int kind = ClassifyPictureName(name);
    saving_after_failure_ = pending && pending->reported;
    outcome = TryCopy(name, [&](std::span<const std::uint8_t> bytes) {
      if (EndsComplete(kind, bytes) || (settled && bytes.size() == look->first)) return true;
      incomplete = true;
      return false;
    });
    // A picture is told failed once, however often it failed.
    if (outcome == CopyOutcome::failed && !(pending && pending->reported)) Notify(BOARD_SAVE_FAILED, 1);
    if (outcome == CopyOutcome::saved || outcome == CopyOutcome::failed) return outcome;
  } else {
    incomplete = true;
  }

  if (!pending) {
    pending = &pending_pictures_[name];
    pending->created = created;
    pending->first_try = now;
  }
  if (!unchanged) {
    pending->look = look;
    pending->unchanged_since = now;
  }
  pending->incomplete = incomplete;
  // The user hears of a save folder that takes nothing at once; the picture
  // still waits for the folder to be fixed.
  if (outcome == CopyOutcome::save_refused && !std::exchange(pending->reported, true))
    Notify(BOARD_SAVE_FAILED, 1);
  if (now - pending->first_try < kPictureRetryTime) return CopyOutcome::passing;
  // Given up: the picture stays on the board.
  if (!pending->reported) Notify(BOARD_SAVE_FAILED, 1);
  return CopyOutcome::failed;
}

}  // namespace tavlix::board
