// The worker's picture record: kept beside the board's collector lock, so
// that the next collector of the board goes on where this one stopped.
#include <string_view>
#include <utility>

#include "board/communication_thread.h"
#include "platform/atomic_file.h"
#include "platform/files.h"

namespace tavlix::board {

void TCommunicationThread::SetPictureRecord(std::optional<std::filesystem::path> record) {
  std::lock_guard lock(record_mutex_);
  record_path_ = std::move(record);
  record_set_ = true;
}

void TCommunicationThread::TakeOverRecord() {
  if (!record_set_.exchange(false)) return;
  {
    std::lock_guard lock(record_mutex_);
    record_ = record_path_;
  }
  record_text_.clear();
  if (!record_) return;
  // A record that cannot be read is none: the worker's own mark holds.
  const auto bytes = platform::ReadFileBytes(*record_, PictureMark::kMaxTextBytes);
  if (!bytes) return;
  const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
  if (const auto other = PictureMark::FromText(text)) LatestImageTime.TakeOver(*other);
}

void TCommunicationThread::StoreRecord() {
  if (!record_) return;
  std::string text = LatestImageTime.ToText();
  if (text == record_text_) return;
  // A failed write is tried again at the next change.
  if (platform::ReplaceFileContents(*record_, text)) record_text_ = std::move(text);
}

}  // namespace tavlix::board
