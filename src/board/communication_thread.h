// TCommunicationThread: the one worker object of the board link.
//
// This part holds the worker's fields and its two file-exchange steps:
// WriteCommandFile hands the queued command to the board, ReadCommandFile
// collects the board's progress and result. Both run on the worker thread and
// report through the worker's own notification window. Fields that the
// window's thread also touches are atomics.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "board/notify.h"
#include "platform/clock.h"

namespace tavlix {

// Output format codes shared by the settings, the facade and the copy step.
inline constexpr int kOutputKeepBoardFormat = 0;
inline constexpr int kOutputJpeg = 1;
inline constexpr int kOutputPng = 2;
inline constexpr int kOutputPdf = 3;

class TCommunicationThread {
 public:
  explicit TCommunicationThread(HWND_T hWnd);
  TCommunicationThread(const TCommunicationThread&) = delete;
  TCommunicationThread& operator=(const TCommunicationThread&) = delete;

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

  // Picture functions (worker thread). CheckImageFile(false) records the
  // creation time of the newest picture on the board and copies nothing;
  // CheckImageFile(true) copies at most one picture newer than that and
  // returns true when it found one. CopyImageFile copies or converts one
  // picture from the board's root into the save folder and reports
  // BOARD_IMAGE_SAVED or BOARD_SAVE_FAILED. The two conversions return 1 on
  // success and 0 on failure.
  bool CheckImageFile(bool checkwithsave);
  bool CopyImageFile(const std::string& strcopyfrom);
  int SaveFromPDFimg(const std::filesystem::path& source, const std::filesystem::path& target, int ext);
  int SaveToPDFimg(const std::filesystem::path& target, const std::filesystem::path& source);

  // Stores the output format and a copy of the save folder; the worker never
  // reads the caller's string. Any thread.
  bool ChangeImageFileSetting(int Setting_OutputFileExt, const std::string& Setting_OutputFileSavePath);
  // The save folder in force (a snapshot; any thread).
  std::shared_ptr<const std::string> SavePath() const;

  void SetNewHandle(HWND_T hWnd) { hWnd_Form_.store(hWnd); }
  HWND_T NotifyWindow() const { return hWnd_Form_.load(); }

  int ScanProgressValue() const { return ScanProgress.load(); }

 protected:
  // Sends a notification to the worker's window.
  void Notify(int code, std::intptr_t arg) const { SendBoardNotify(hWnd_Form_.load(), code, arg); }

  std::atomic<int> FlgTerminate{0};
  int ImageType = 0;
  std::optional<platform::WallTime> LatestImageTime;
  std::atomic<int> OutputFileExt{kOutputPng};
  std::atomic<bool> FlgAppScan{false};
  int HiddenWaitCount = 0;
  std::atomic<bool> FlgAppScanTimeout{false};
  std::atomic<int> ScanProgress{0};
  int ScanProgressLast = 0;
  int StallCount = 0;
  int LostCount = 0;
  bool FlgOpenSavedFile = true;

 private:
  std::atomic<HWND_T> hWnd_Form_{nullptr};
  mutable std::mutex save_path_mutex_;
  std::shared_ptr<const std::string> OutputFileSavePath;
};

}  // namespace tavlix
