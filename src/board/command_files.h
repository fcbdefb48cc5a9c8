// The command-file protocol: the files in the board drive's `cmd` folder,
// their layouts, the parser of the board's result and the last parsed result.
//
// The computer writes cmd/boardctrl.bin (the magic and a command code); the
// board answers with cmd/progress.bin (its length is the percentage done) and
// cmd/result.bin (the magic, a status, a detail, six 16-bit big-endian values
// and a tail byte). The folder's hidden attribute says whose turn it is.
//
// ParseReceiveCommand runs on the worker thread; CleanResult, GetLastResult
// and GetProgress on any thread (the record is guarded by a lock, which is not
// held while a notification is delivered).
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

namespace tavlix::board {

inline constexpr std::array<std::uint8_t, 4> BOARD_MAGIC = {0x01, 0x23, 0x45, 0x67};
inline constexpr std::uint8_t CMD_FEED = 0x11;
inline constexpr std::uint8_t CMD_SCAN = 0x12;

// Return values of ParseReceiveCommand.
inline constexpr int kParsedOther = 0x100;   // the buffer was not a result record
inline constexpr int kParsedResult = 0x101;  // a result record was parsed

// Result status values.
inline constexpr std::uint8_t kStatusNothing = 0;
inline constexpr std::uint8_t kStatusBusy = 2;
inline constexpr std::uint8_t kStatusError = 3;

inline constexpr std::size_t kResultRecordSize = 19;
inline constexpr std::size_t kMaxResultBytes = 256;

struct TResultFile {
  std::int32_t Magic = 0;
  std::uint8_t Status = 0;
  std::uint8_t Detail = 0;
  std::uint16_t Value1 = 0;
  std::uint16_t Value2 = 0;
  std::uint16_t Value3 = 0;
  std::uint16_t Value4 = 0;
  std::uint16_t Value5 = 0;
  std::uint16_t Value6 = 0;
  std::uint8_t Tail = 0;

  bool operator==(const TResultFile&) const = default;
};

inline constexpr std::string_view kCommandFolderName = "cmd";
inline constexpr std::string_view kCommandFileName = "boardctrl.bin";
inline constexpr std::string_view kProgressFileName = "progress.bin";
inline constexpr std::string_view kResultFileName = "result.bin";

// The `cmd` folder under a drive root ("" stands for the current folder).
std::filesystem::path CommandFolderPath(std::string_view drive_root);

// The notification a result status/detail maps to; 0 for "none".
int ResultNotification(std::uint8_t status, std::uint8_t detail);

// Parses one received buffer. Without the magic (also when shorter than four
// bytes): stores its size in CurrentProgress and returns kParsedOther. With it:
// notifies the window of the status first, then fills the last result from
// bytes 4..18 (fields beyond the buffer's end read as zero) and returns
// kParsedResult. Never reads past the buffer.
int ParseReceiveCommand(std::span<const std::uint8_t> receivebuf);

void CleanResult();
void GetLastResult(TResultFile& result);
int GetProgress();

// Delete cmd/boardctrl.bin, cmd/progress.bin or cmd/result.bin under the drive
// root; true only when the file existed and was deleted.
bool DeleteCommandFile(std::string_view TargetDriveName);
bool DeleteProgressFile(std::string_view TargetDriveName);
bool DeleteResultFile(std::string_view TargetDriveName);

}  // namespace tavlix::board
