#include "board/command_files.h"

#include <algorithm>

#include "board/link_state.h"
#include "board/notify.h"
#include "platform/files.h"
#include "platform/path_text.h"

namespace tavlix::board {
namespace {

std::uint8_t ByteAt(std::span<const std::uint8_t> buf, std::size_t offset) {
  return offset < buf.size() ? buf[offset] : std::uint8_t{0};
}

std::uint16_t BigEndian16(std::span<const std::uint8_t> buf, std::size_t offset) {
  return static_cast<std::uint16_t>((ByteAt(buf, offset) << 8) | ByteAt(buf, offset + 1));
}

// Deletes only inside the real `cmd` folder, never through a link to another.
bool DeleteInCommandFolder(std::string_view drive_root, std::string_view name) {
  const auto folder = platform::FolderHandle::Open(CommandFolderPath(drive_root));
  if (!folder) return false;
  const auto removed = folder->Remove(name);
  return removed.ok() && *removed;
}

}  // namespace

std::filesystem::path CommandFolderPath(std::string_view drive_root) {
  return platform::PathFromUtf8(drive_root) / kCommandFolderName;
}

int ResultNotification(std::uint8_t status, std::uint8_t detail) {
  switch (status) {
    case kStatusNothing: return 0;
    case kStatusBusy: return BOARD_BUSY;
    case kStatusError:
      switch (detail) {
        case 1: return BOARD_ERR_E4;
        case 2: return BOARD_ERR_E5;
        case 3: return BOARD_ERR_FL;
        case 5: return BOARD_ERR_E3;
        default: return BOARD_ERR_OTHER;
      }
    default: return BOARD_ERR_OTHER;
  }
}

int ParseReceiveCommand(std::span<const std::uint8_t> receivebuf) {
  LinkState& link = Link();
  if (receivebuf.size() < BOARD_MAGIC.size() ||
      !std::equal(BOARD_MAGIC.begin(), BOARD_MAGIC.end(), receivebuf.begin())) {
    link.CurrentProgress = static_cast<int>(std::min<std::size_t>(receivebuf.size(), 0x7FFFFFFF));
    return kParsedOther;
  }
  const std::uint8_t status = ByteAt(receivebuf, 4);
  const std::uint8_t detail = ByteAt(receivebuf, 5);
  // The window hears of the result before the record holds it, so a
  // CleanResult in its handler cannot wipe the new result: afterwards the
  // record holds the whole of it, magic included.
  if (const int code = ResultNotification(status, detail); code != 0)
    SendBoardNotify(link.hWnd_Form.load(), code, 1);

  std::lock_guard lock(link.result_mutex);
  TResultFile& r = link.ResultFile;
  r.Magic =
      static_cast<std::int32_t>((std::uint32_t{receivebuf[0]} << 24) | (std::uint32_t{receivebuf[1]} << 16) |
                                (std::uint32_t{receivebuf[2]} << 8) | receivebuf[3]);
  r.Status = status;
  r.Detail = detail;
  r.Value1 = BigEndian16(receivebuf, 6);
  r.Value2 = BigEndian16(receivebuf, 8);
  r.Value3 = BigEndian16(receivebuf, 10);
  r.Value4 = BigEndian16(receivebuf, 12);
  r.Value5 = BigEndian16(receivebuf, 14);
  r.Value6 = BigEndian16(receivebuf, 16);
  r.Tail = ByteAt(receivebuf, 18);
  return kParsedResult;
}

void CleanResult() {
  LinkState& link = Link();
  std::lock_guard lock(link.result_mutex);
  link.ResultFile = TResultFile{};
}

void GetLastResult(TResultFile& result) {
  LinkState& link = Link();
  std::lock_guard lock(link.result_mutex);
  result = link.ResultFile;
}

int GetProgress() {
  return Link().CurrentProgress.load();
}

bool DeleteCommandFile(std::string_view TargetDriveName) {
  return DeleteInCommandFolder(TargetDriveName, kCommandFileName);
}
bool DeleteProgressFile(std::string_view TargetDriveName) {
  return DeleteInCommandFolder(TargetDriveName, kProgressFileName);
}
bool DeleteResultFile(std::string_view TargetDriveName) {
  return DeleteInCommandFolder(TargetDriveName, kResultFileName);
}

}  // namespace tavlix::board
