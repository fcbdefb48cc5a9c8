// The driver facade: the functions the window (toolbar or command line) calls
// to run the board link. They own the one worker object and its thread.
//
// Threads: every function here is meant for the window's thread. Notifications
// sent on that thread (SetFlgAppScan, a board look-up in WriteCommand) run the
// window's handler at once, nested; those from the worker are handled while
// Write and Read wait, because they call ProcessMessages every 10 ms.
//
// Results, as the window reads them:
//   Write / WriteCommand: 0 handed over (or queued when not waiting), 1 not
//   taken in time and withdrawn, 2 another command still waiting, 3 longer
//   than 256 bytes. Read: kReadDone, kReadTimedOut, kReadBusy (a read
//   already waits).
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "board/communication_thread.h"
#include "board/notify.h"

namespace tavlix::board {

inline constexpr int kWriteHandedOver = 0;
inline constexpr int kWriteTimedOut = 1;
inline constexpr int kWriteBusy = 2;
inline constexpr int kWriteTooLong = 3;

inline constexpr int kReadDone = 0;
inline constexpr int kReadTimedOut = 1;
inline constexpr int kReadBusy = 2;  // another read already waits

// Records the window, creates the worker (whose constructor looks the board up
// and may notify BOARD_FOUND at once) and its thread, halted. false when the
// link was set up before (even after DriverUninit) or no thread could start.
bool DriverInit(NotifyTarget* hWnd);
// Lets the worker run, whatever the number of DriverClose calls before.
bool DriverOpen();
// Asks the worker to park at its next cycle boundary, sleep or notification;
// never waits for it. false without a worker.
bool DriverClose();
// Stops the worker and joins its thread within a bound (the worker may be
// delivering a notification, up to its 5000 ms bound). The link cannot be set
// up again afterwards.
bool DriverUninit();

int Write(std::span<const std::uint8_t> buff, int timeout, bool bsync);
int Read(std::span<std::uint8_t> buff, int& readsize, int timeout);
int WriteCommand(std::uint8_t CommandNum, int timeout, bool bsync);
// Reads what the worker offers and parses it: kParsedOther, kParsedResult or 0.
int ReadCommand();

bool IsConnected();
bool OfferSetting(settings::OutputFormat Setting_OutputFileExt,
                  const std::string& Setting_OutputFileSavePath);
void SetFlgAppScanTimeout(bool flg);
void SetFlgAppScan(bool flg);
bool GetFlgAppScan();
void SetNewHandle(NotifyTarget* hWnd);

// Runs the front end's message pump once: Qt's event processing in the
// toolbar, the command line's queue in `tavlix`.
void ProcessMessages();
void SetMessagePump(std::function<void()> pump);

// The files the worker committed since the last call, oldest first (they are
// forgotten); empty without a worker.
std::vector<SavedFile> DriverTakeSavedFiles();

// Hands the worker the picture record of the board whose lock the window
// holds (TCommunicationThread::SetPictureRecord); nothing without a worker.
void DriverSetPictureRecord(std::optional<std::filesystem::path> record);

// The worker, for front ends that show its state and for tests; null before
// DriverInit.
TCommunicationThread* DriverWorker();

// Stops and forgets the worker and clears the link state, so that a test can
// set the link up again.
void ResetDriverForTests();

}  // namespace tavlix::board
