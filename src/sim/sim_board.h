// The simulated board: plays the board's side of the command folder on a
// folder that a drive table names as a removable drive with a model label.
//
// Each time the computer hands the `cmd` folder back (hides it), the board
// takes its turn: it reads and removes boardctrl.bin, advances a scan by one
// step when the step's pace has passed (progress.bin grows), and at the end
// writes result.bin and stores one picture at the drive's root; then it
// clears the hidden attribute for the next exchange. Faults make it misbehave
// in each of the ways the computer's side must survive.
//
// Threads: Step() and the fault setters belong to one thread at a time; Start()
// runs Step() on a thread of the board's own until Stop(). Every wait runs on
// the platform clock, so tests can compress time.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/clock.h"
#include "platform/held_file.h"
#include "sim/sim_picture.h"

namespace tavlix::sim {

enum class FaultKind {
  none,
  busy,            // result status 2
  error,           // result status 3 with `value` as the detail
  unknown_status,  // result with status `value`
  bad_magic,       // result whose first bytes are not the magic
  never_release,   // keeps the folder hidden after taking the command
  stall,           // progress stops at `value` percent
  vanish,          // the drive goes away at `value` percent
  no_cmd_folder,   // the cmd folder is missing and cannot be created
  slow_write,      // the picture grows in place, in pieces, over `value` ms
  hold,            // the picture stays in use (locked) for `value` ms
};

struct Fault {
  FaultKind kind = FaultKind::none;
  int value = 0;
  // For vanish: how long until the drive comes back; nullopt: never.
  std::optional<platform::Millis> return_after;

  bool operator==(const Fault&) const = default;
};

// Parses a fault as written on the command line: "none", "busy", "error:N",
// "status:N", "bad-magic", "never-release", "stall:P", "vanish:P",
// "vanish:P:MS" (returns after MS milliseconds), "no-cmd-folder",
// "slow-write:MS", "hold:MS".
std::optional<Fault> ParseFault(std::string_view text);
std::string DescribeFault(const Fault& fault);

struct SimBoardOptions {
  std::filesystem::path root;         // the drive's root folder
  std::filesystem::path drive_table;  // empty: the board never leaves
  char letter = 'E';
  std::string model = "R-61";
  int progress_steps = 5;           // progress writes per scan (the last is 100)
  platform::Millis step_pace{100};  // at least this long between steps
  PictureSpec picture;              // what a scan stores
  // Receives one line per thing the board does, when set.
  std::function<void(const std::string&)> log;
};

class SimBoard {
 public:
  explicit SimBoard(SimBoardOptions options);
  ~SimBoard();
  SimBoard(const SimBoard&) = delete;
  SimBoard& operator=(const SimBoard&) = delete;

  // Adds the board to the drive table (keeping the other lines) and prepares
  // its folder, also after it vanished for good; removes it again.
  void Plug();
  void Unplug();

  // One look at the folder, and the board's turn if it has one; also grows a
  // picture written slowly and releases a held one when their time is up.
  void Step();
  void Start(platform::Millis poll = platform::Millis(10));
  void Stop();

  // The next scan (only) misbehaves this way. no_cmd_folder takes effect at
  // once and lasts until ClearCommandFolderBlock.
  void SetNextFault(Fault fault);
  void ClearCommandFolderBlock();
  // Changes what the next scans store.
  void SetPicture(PictureSpec picture);
  // Stores a picture now, whole and free, as if scanned on the board without
  // the computer.
  std::filesystem::path StorePicture();

  int scans_started() const { return scans_started_.load(); }
  int scans_finished() const { return scans_finished_.load(); }
  int feeds() const { return feeds_.load(); }
  bool scanning() const { return scanning_.load(); }
  // Every picture stored so far, in order.
  std::vector<std::filesystem::path> pictures() const;

 private:
  void Log(const std::string& line) const;
  void PlugLocked();
  void UnplugLocked();
  void TakeTurn();
  void AdvanceScan();
  void Vanish(platform::Millis now);
  void FinishScan();
  void WriteResult();
  // Stores the next picture; `with_fault`: as the scan's fault has it.
  std::filesystem::path StorePictureLocked(bool with_fault);
  std::string TableLine() const;

  SimBoardOptions options_;
  std::filesystem::path cmd_;
  mutable std::mutex mutex_;  // guards what Step and the setters share
  Fault next_fault_;
  Fault fault_;
  PictureSpec picture_;
  std::vector<std::filesystem::path> pictures_;
  int progress_ = 0;
  int step_ = 0;
  platform::Millis last_step_{0};
  std::optional<platform::Millis> vanished_at_;
  bool gone_ = false;
  int vanish_countdown_ = 0;
  std::atomic<bool> scanning_{false};
  std::atomic<int> scans_started_{0};
  std::atomic<int> scans_finished_{0};
  std::atomic<int> feeds_{0};
  std::atomic<bool> stop_{false};
  std::thread thread_;
  int picture_counter_ = 0;
  std::optional<platform::WallTime> last_created_;
  // A picture being written slowly: its whole bytes and how many are out.
  struct SlowWrite {
    std::filesystem::path path;
    std::string bytes;
    std::size_t written = 0;
    platform::Millis started{0};
    platform::Millis duration{0};
  };
  std::optional<SlowWrite> slow_write_;
  std::optional<platform::HeldFile> held_;
  platform::Millis held_until_{0};
  static constexpr std::size_t kSlowWritePieces = 8;
  // Gives the picture about to be stored the scan's fault: held, or cut to
  // its first piece for a slow write.
  void PrepareFaultyStore(const std::filesystem::path& temporary, const std::filesystem::path& final_path);
  // Appends the pieces whose time has come (all of them when `finish`).
  void AdvanceSlowWrite(bool finish);
  void WriteSlowPieces(bool finish);  // one try; the caller holds mutex_
  void ReleaseHeld(platform::Millis now);
};

}  // namespace tavlix::sim
