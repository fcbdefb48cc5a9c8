// TCommunicationThread::CheckImageFile: looking for a picture the board has
// stored since the last one seen.
#include "board/communication_thread.h"
#include "board/drive_discovery.h"
#include "board/link_state.h"
#include "board/picture_listing.h"

namespace tavlix {

bool TCommunicationThread::CheckImageFile(bool checkwithsave) {
  // Without saving, the check only learns the newest picture present.
  if (!checkwithsave) LatestImageTime.reset();
  std::string model, root;
  const bool found = GetTargetDrive(model, root);
  Link().Connected = found;
  if (!found) return false;
  for (const std::string_view pattern : kPicturePatterns) {
    for (const BoardPicture& picture : ListBoardPictures(root, pattern)) {
      if (LatestImageTime && picture.created <= *LatestImageTime) continue;
      // The time moves before the copy, so a picture that fails to copy is
      // not tried again every cycle.
      LatestImageTime = picture.created;
      if (checkwithsave) {
        CopyImageFile(picture.name);
        return true;
      }
    }
  }
  return false;
}

}  // namespace tavlix
