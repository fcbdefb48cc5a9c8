// TCommunicationThread: the one worker object of the board link.
//
// Its loop (TVExecute) runs on the worker thread for the life of the link: it
// looks for the board every cycle, exchanges files with it while an operation
// is under way, gives up on a board that keeps the folder, stalls or vanishes,
// and collects every new picture. Everything it has to say goes to its window
// as WM_BOARD_NOTIFY.
//
// Threads: the loop, the exchange steps and the picture functions run on the
// worker thread. SetFlgAppScan, SetFlgAppScanTimeout, GetFlgAppScan,
// SetNewHandle, ChangeImageFileSetting, RequestHalt, Resume and
// RequestTerminate may be called from any thread; the fields they share with
// the loop are atomics.
//
// Halting is cooperative: after RequestHalt the loop parks at its next cycle
// boundary, sleep or notification and touches neither the board nor the window
// until Resume. Every wait runs on the platform clock.
//
// One class, one header, six files, each holding one part of it:
//   communication_thread.cpp  construction, the settings and the flag set
//                             from other threads, Notify, halting and waits
//   worker_loop.cpp           TVExecute and RunCycle: looking for the board,
//                             the exchange's time-outs, giving up
//   command_exchange.cpp      WriteCommandFile, ReadCommandFile
//   picture_check.cpp         CheckImageFile and the pending pictures
//   picture_copy.cpp          CopyImageFile, TryCopy, the saved-file record
//   pdf_conversions.cpp       SaveFromPDFimg, SaveToPDFimg
// The decoding, encoding and saving they call are plain functions in
// imaging/; the driver's API on top of the class is driver_facade.cpp.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "board/notify.h"
#include "board/picture_mark.h"
#include "platform/clock.h"
#include "settings/output_format.h"

namespace tavlix::board {

// Cycle periods and limits of the loop.
inline constexpr platform::Millis kCyclePresent{100};
inline constexpr platform::Millis kCycleAbsent{3000};
inline constexpr platform::Millis kFolderCreatedPause{1000};
inline constexpr int kCountStep = 100;     // added a cycle to the wait counters
inline constexpr int kCountLimit = 30000;  // 300 cycles
// A board gone late in an operation is waited for this many cycles (one
// look missing it may be a passing fault), then the operation ends: the user
// hears of the absence within a cycle or two at every stage.
inline constexpr int kLostGraceCycles = 1;
inline constexpr int kGraceProgress = 60;  // grace only above this progress
// A picture whose structure cannot tell that it is whole is taken once its
// size and modification time have stayed the same this long (FAT keeps
// modification times to 2 s).
inline constexpr platform::Millis kPictureSettleTime{3000};
// How long a picture is tried again after a passing fault: time for the board
// to finish a slow write and for the user to free or fix the save folder.
inline constexpr platform::Millis kPictureRetryTime{120000};

// A file the worker committed into the save folder.
struct SavedFile {
  std::filesystem::path path;
  bool saved = true;           // false: kept by a save that failed
  bool after_failure = false;  // saved after its failure had been told
  bool operator==(const SavedFile&) const = default;
};

class TCommunicationThread {
 public:
  // Notes the newest picture already on the board (so it is never copied) and
  // sets the defaults: PNG into the user's picture folder.
  explicit TCommunicationThread(NotifyTarget* hWnd);
  ~TCommunicationThread();
  TCommunicationThread(const TCommunicationThread&) = delete;
  TCommunicationThread& operator=(const TCommunicationThread&) = delete;

  // Thread entry: runs TVExecute on the object and returns its result.
  static int ThreadFunc(TCommunicationThread* lpParameter) { return lpParameter->TVExecute(); }

  // The loop; returns 0 once RequestTerminate has been called.
  int TVExecute();

  // One cycle of the loop, without its closing wait; returns how long to wait
  // before the next one. Tests drive the loop cycle by cycle through this.
  platform::Millis RunCycle();
  // RunCycle, with an error escaping it reported as BOARD_ERR_OTHER once (not
  // again until a cycle completes cleanly); the loop then waits its normal
  // period and carries on.
  platform::Millis RunGuardedCycle();

  // Writes the mailbox's command to <targetpath>/boardctrl.bin: opened (or
  // created) without truncating, the bytes written from offset 0 with
  // write-through and flushed. A file that cannot be opened or written is
  // reported as BOARD_ERR_OTHER. Returns true when the command reached the file.
  bool WriteCommandFile(const std::filesystem::path& targetpath);

  // Reads <targetpath>/progress.bin (its length is the progress) and
  // <targetpath>/result.bin (parsed, then deleted). Sends BOARD_PROGRESS, and
  // the result's notification if any; any failure sends BOARD_ERR_OTHER, stops
  // the read and leaves the files not yet deleted in place. Returns true when
  // the read went through without an error.
  bool ReadCommandFile(const std::filesystem::path& targetpath);

  // Picture functions (worker thread). CheckImageFile(false) takes every
  // picture now on the board as the user's old one and copies nothing;
  // CheckImageFile(true) takes at most one picture not yet finished, the
  // oldest first (see board/picture_mark.h), and returns true when it saved
  // it or gave it up. A picture whose failure was told and that is then
  // saved is reported as BOARD_IMAGE_SAVED with kSavedAfterFailure, so that
  // each picture counts once, by how it ended.
  // A picture is taken once whole: its structure ends complete, or it has
  // stayed unchanged for kPictureSettleTime. One that cannot be taken for a
  // passing reason (in use, still growing, the save folder missing, full or
  // not writable) stays pending and is tried again every cycle until
  // kPictureRetryTime has passed since its first try, then it is reported as
  // failed once. A save folder that takes nothing is reported (once) at the
  // first try, so that an operation ends with "save failed" rather than a
  // time-out; the picture is still tried again and saved should the folder
  // be fixed in time. Pictures stored after a pending one are taken meanwhile.
  // CopyImageFile copies or converts one picture from the board's root into
  // the save folder at once and reports BOARD_IMAGE_SAVED or
  // BOARD_SAVE_FAILED. Board files are read once, without following links,
  // and refused above imaging::kMaxCopyBytes. The two conversions return 1
  // on success and 0 on failure.
  bool CheckImageFile(bool checkwithsave);
  bool CopyImageFile(const std::string& strcopyfrom);
  int SaveFromPDFimg(const std::filesystem::path& source, const std::filesystem::path& target,
                     settings::OutputFormat ext);
  int SaveToPDFimg(const std::filesystem::path& target, const std::filesystem::path& source);

  // The record this collector keeps of its board's pictures (beside the
  // board's collector lock), or none. The worker takes the record over at its
  // next picture check (another collector may have moved it meanwhile) and
  // keeps it up to date from then on. Any thread.
  void SetPictureRecord(std::optional<std::filesystem::path> record);

  // Returns and forgets the files this worker has committed into the save
  // folder since the last call, oldest first: the saved pictures, and what a
  // failed save kept (a plain copy, the pages before a damaged one). Any
  // thread.
  std::vector<SavedFile> TakeSavedFiles();

  // Starts (true) or ends (false) an operation. Starting sends BOARD_JOB_BEGIN
  // before the flag goes up; ending sends BOARD_JOB_END and BOARD_PROGRESS -1
  // before it comes down. Nothing is sent when the flag does not change.
  void SetFlgAppScan(bool flg);
  void SetFlgAppScanTimeout(bool flg) { FlgAppScanTimeout = flg; }
  bool GetFlgAppScan() const { return FlgAppScan.load(); }

  // Stores the output format and a copy of the save folder; the worker never
  // reads the caller's string. Any thread.
  bool ChangeImageFileSetting(settings::OutputFormat Setting_OutputFileExt,
                              const std::string& Setting_OutputFileSavePath);
  // The save folder in force (a snapshot; any thread).
  std::shared_ptr<const std::string> SavePath() const;
  void SetNewHandle(NotifyTarget* hWnd) { hWnd_Form_.store(hWnd); }
  NotifyTarget* NotifyWindow() const { return hWnd_Form_.load(); }

  // Cooperative halting (any thread). Halt requests count; Resume clears them
  // all. RequestTerminate ends the loop at its next checkpoint, halted or not.
  void RequestHalt();
  void Resume();
  void RequestTerminate();
  // True while the loop sits parked by a halt request.
  bool IsParked() const { return parked_.load(); }

  int ScanProgressValue() const { return ScanProgress.load(); }
  int LostCountValue() const { return LostCount; }
  int StallCountValue() const { return StallCount.load(); }
  int HiddenWaitCountValue() const { return HiddenWaitCount.load(); }

  // Runs at the start of every exchange; tests use it to make a step fail.
  std::function<void()> exchange_probe;

 protected:
  // Sends a notification to the worker's window. On the worker thread it first
  // parks if a halt was requested.
  void Notify(int code, std::intptr_t arg) const;

  std::atomic<int> FlgTerminate{0};
  int ImageType = 0;
  // The newest-picture time and the pictures finished at or after it.
  PictureMark LatestImageTime;
  std::atomic<settings::OutputFormat> OutputFileExt{settings::kDefaultOutputFormat};
  std::atomic<bool> FlgAppScan{false};
  std::atomic<int> HiddenWaitCount{0};
  std::atomic<bool> FlgAppScanTimeout{false};
  std::atomic<int> ScanProgress{0};
  int ScanProgressLast = 0;
  std::atomic<int> StallCount{0};
  int LostCount = 0;
  bool FlgOpenSavedFile = true;

 private:
  // What one try at a picture came to. passing: not taken, worth another
  // try; save_refused: the same, because the save folder took nothing.
  enum class CopyOutcome { saved, failed, passing, save_refused };
  // A picture not yet taken for a passing reason.
  struct PendingPicture {
    platform::WallTime created;
    platform::Millis first_try{0};
    std::optional<std::pair<std::uintmax_t, std::filesystem::file_time_type>> look;  // size, modified
    platform::Millis unchanged_since{0};
    bool incomplete = false;  // the last try found it not yet whole
    bool reported = false;    // BOARD_SAVE_FAILED has been sent for it
  };
  // Reads the picture once and copies it when `whole` accepts the bytes.
  // Reports BOARD_IMAGE_SAVED (and opens the file) when saved; nothing else.
  CopyOutcome TryCopy(const std::string& name,
                      const std::function<bool(std::span<const std::uint8_t>)>& whole);
  // One try at a listed picture, with its pending state kept across cycles.
  CopyOutcome TryCollect(const std::string& root, const std::string& name, platform::WallTime created);
  // Notes the files one copy committed into the save folder, as saved or as
  // kept by a failed save.
  void RecordSaved(const std::vector<std::filesystem::path>& paths, bool saved);

  // Reads the picture record when it was just set, and takes it over.
  void TakeOverRecord();
  // Writes the picture record when the mark has changed since.
  void StoreRecord();

  platform::Millis AbsentBoard();
  platform::Millis Exchange(bool& completed);
  void GiveUp();
  // Parks while halted; false once termination was requested.
  bool Checkpoint() const;
  // Waits on the platform clock in short slices, parking when halted; false
  // once termination was requested.
  bool Wait(platform::Millis duration) const;
  bool OnWorkerThread() const { return std::this_thread::get_id() == loop_thread_.load(); }

  std::atomic<NotifyTarget*> hWnd_Form_{nullptr};
  mutable std::mutex save_path_mutex_;
  std::shared_ptr<const std::string> OutputFileSavePath;
  std::map<std::string, PendingPicture> pending_pictures_;  // worker thread
  std::mutex saved_mutex_;
  std::vector<SavedFile> saved_files_;  // guarded by saved_mutex_
  bool saving_after_failure_ = false;   // the picture being copied was told failed
  std::mutex record_mutex_;
  std::optional<std::filesystem::path> record_path_;  // guarded by record_mutex_
  std::atomic<bool> record_set_{false};
  std::optional<std::filesystem::path> record_;  // worker thread
  std::string record_text_;                      // what the record holds

  // Loop state kept across cycles.
  bool Connected_last = false;
  std::string model_name_;
  std::string drive_root_;
  bool error_reported_ = false;
  std::atomic<bool> transition_{false};  // SetFlgAppScan is sending its notes

  // Halting.
  mutable std::mutex halt_mutex_;
  mutable std::condition_variable halt_cv_;
  int halt_requests_ = 0;
  mutable std::atomic<bool> parked_{false};
  std::atomic<std::thread::id> loop_thread_{};
};

}  // namespace tavlix::board
