// The toolbar's behaviour, once for every front end: start-up and shut-down
// order, the commands (Scan, Feed / Stop, open folder, help, settings), the
// reaction to every board notification, the texts, the progress strip, the
// detection text and the button pictures. The front end forwards its events
// here and implements ToolbarView; the board link is reached through the
// driver facade.
//
// Threads: the front end's UI thread only; the controller starts no thread
// of its own (the board link's worker is the only other one). The front
// end's notification target delivers WM_BOARD_NOTIFY on that thread and
// calls OnBoardNotify, also nested inside a view call that runs the message
// loop (a box, the settings dialog, RunPendingEvents) or inside a facade call
// (SetFlgAppScan, a board look-up).
//
// One collector a board: the worker runs only while this controller holds the
// present board's collector lock (board/collector_lock.h). The front end calls
// KeepCollecting periodically (every kCollectInterval); the commands
// call it while they wait for the board.
//
// Owns its settings values and texts for its whole life; the view and the
// notification target are not owned and must outlive it.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/toolbar_view.h"
#include "board/collector_lock.h"
#include "board/notify.h"
#include "settings/localised_texts.h"
#include "settings/output_format.h"

namespace tavlix::app {

// How often the front end calls KeepCollecting: the worker's cycle while no
// board is present.
inline constexpr std::chrono::milliseconds kCollectInterval{3000};
// How long Scan and Feed / Stop wait for the worker to take their command.
inline constexpr std::chrono::milliseconds kHandOverTimeout{2000};
// How often the settings files are looked at for another program's change.
inline constexpr std::chrono::milliseconds kSettingsPoll{1000};

// Put before the saved balloon's text for a picture whose failure was told
// before it was saved.
inline constexpr std::string_view kSavedAfterAllText = "Saved after all: ";

// How an operation ended.
enum class Outcome {
  none,         // still running (or none started)
  saved,        // a picture was saved
  save_failed,  // a picture could not be saved
  board_error,  // the board answered busy or with an error
  timed_out,    // the board kept the folder or its progress stood still
  detached,     // the board went away during the operation
};

// The outcome a notification code ends an operation with; nullopt for the
// codes that end none (found, lost, job begin/end, progress, unknown codes).
std::optional<Outcome> OutcomeOfCode(int code);

// What Scan and Feed / Stop did.
enum class CommandResult {
  handed_over,       // the worker took the command
  no_board,          // no board came within about 500 ms (the user was told)
  collector_busy,    // another collector holds the board (the user was told)
  lock_unavailable,  // the collector lock cannot be made: collector_lock_error()
  command_waiting,   // an earlier command still waits for the worker (no message)
  timed_out,         // the worker did not take it in time (the user was told)
  failed,            // too long or any other failure (the user was told)
};

// Why the controller shuts down: the user's Exit (or any close) or the end of
// the session (logout, shut-down), when nothing may wait for the user.
enum class EndReason { exit, session_end };

// What a look for the board found.
enum class Collecting { yes, no_board, busy, unavailable };

struct ControllerSettings {
  settings::OutputFormat format = settings::kDefaultOutputFormat;
  std::string save_folder;
  bool operator==(const ControllerSettings&) const = default;
};

struct StartOptions {
  // Settings to run with instead of the settings file's (the command line's
  // --format and --save-to); nullopt: the settings file.
  std::optional<ControllerSettings> settings;
  // Write the settings file at shut-down (the toolbar; never the command line).
  bool save_settings_at_exit = true;
  // Place the toolbar near the desktop's top right corner at start-up.
  bool place_toolbar = true;
  // Look for the board and its collector lock at once (the command line
  // leaves that to its command).
  bool collect_at_start = true;
  // Without the text table (no program data folder) use the built-in texts
  // rather than none: the command line has no other way to tell the user.
  bool default_texts_without_table = false;
};

class ToolbarController {
 public:
  // `program` names this collector to a refused one ("TavlixConnect",
  // "tavlix scan").
  ToolbarController(ToolbarView& view, std::string program);
  // Stops the board link if Start ran and Shutdown did not.
  ~ToolbarController();
  ToolbarController(const ToolbarController&) = delete;
  ToolbarController& operator=(const ToolbarController&) = delete;

  // Start-up, in order: the strip covered, the toolbar placed, the settings
  // file read (or the given settings taken), the texts loaded and applied, the
  // save folder's stale temporaries removed, the board link set up with
  // `target` (halted) and given the settings, then collecting when the
  // board's lock can be held. false when the board link cannot start.
  bool Start(board::NotifyTarget* target, const StartOptions& options = {});
  // Shut-down, once: notifications are ignored from here on; the user's
  // settings file is written (if asked at Start; only what this process
  // changed, see settings::SaveChangedSettings); the board link is stopped
  // and released. A settings file that cannot be written is shown in a box,
  // naming the file; at the session's end no box may hold up the sign-out, so
  // the text is returned instead, for the front end's log (empty otherwise).
  std::string Shutdown(EndReason reason = EndReason::exit);

  // WM_BOARD_NOTIFY: the reaction of `code` with its argument.
  void OnBoardNotify(int code, std::intptr_t arg);
  // The session switch: 1 console connect (the worker runs again if it
  // collects), 2 console disconnect (the worker halts); others nothing.
  void OnSessionSwitch(int reason);
  // Lets the worker collect while this controller holds the present board's
  // lock, halts it when the board went away between operations. Another
  // collector is told once a refusal (again when `tell`), in a balloon, so
  // that nothing holds up the next look or the shut-down. Also takes a change
  // another program made to the settings files (see TakeOutsideSettings).
  Collecting KeepCollecting(bool tell = false);
  // When the settings came from the files: at most once a kSettingsPoll on
  // the program's clock, reads them again and takes each value another
  // program changed since they were last read, as a confirmed dialog would
  // (the board link gets it at once). true when something was taken.
  bool TakeOutsideSettings();

  // Commands.
  CommandResult Scan();
  CommandResult Feed();
  void OpenFolder();
  void OpenSettings();
  void ShowHelp();
  void CloseToolbar();
  // The tray icon or its show item pressed with the left button (others do
  // nothing): shows the toolbar and re-registers the notification target.
  void TrayShow(bool left_button);
  // A second start of the program: what the tray's left press does; a
  // toolbar that is off the desktop (a screen gone) is placed again first.
  void ShowForSecondStart();
  void ButtonMouseEvent(ToolbarButton button, ButtonMouse event);
  void TitleMouseDown(bool left_button, Point at);
  void TitleMouseMove(bool left_button_held, Point at);

  // State, for front ends and tests.
  const settings::LocalisedTexts& texts() const { return texts_; }
  const ControllerSettings& settings() const { return settings_; }
  int progress() const { return progress_save_; }
  bool button_enabled(ToolbarButton button) const;
  bool collecting() const { return collecting_; }
  const std::string& collector_lock_error() const { return collector_lock_.error(); }
  // The last operation's outcome (the first ending notification since the
  // last reset), and the pictures saved or failed since Start.
  Outcome outcome() const { return outcome_; }
  void ResetOutcome() { outcome_ = Outcome::none; }
  int pictures_saved() const { return pictures_saved_; }
  int pictures_failed() const { return pictures_failed_; }

 private:
  void ApplyTexts();
  void RenewProgress();
  void SetDisabledLook();
  void SetReadyLook();
  void SetEnabled(ToolbarButton button, bool enabled);
  void ShowBalloon(Balloon kind, const std::string& text);
  void EndOperation(Outcome outcome);
  CommandResult WaitForBoard();
  void RefusedWithoutBoard(ToolbarButton button, CommandResult waited);
  void AcceptSettings(const SettingsDialogValues& values);
  // Writes the settings file; the failure's text (shown in a box when
  // `show_failure`), empty when the file was written.
  std::string SaveSettings(bool show_failure = true);
  void StopBoardLink();

  ToolbarView& view_;
  board::NotifyTarget* target_ = nullptr;
  board::CollectorLock collector_lock_;
  ControllerSettings settings_;
  // The values last read from the settings files (nullopt: the settings were
  // given at Start): what this process changed is told from them.
  std::optional<ControllerSettings> settings_read_;
  std::chrono::milliseconds settings_polled_{0};
  settings::LocalisedTexts texts_;
  bool save_settings_at_exit_ = false;
  int progress_save_ = 0;
  Point grab_;
  bool enabled_[kToolbarButtonCount] = {true, true, true, true, true, true};
  bool started_ = false;
  bool shut_down_ = false;
  bool collecting_ = false;
  bool session_away_ = false;
  bool busy_told_ = false;
  Outcome outcome_ = Outcome::none;
  int pictures_saved_ = 0;
  int pictures_failed_ = 0;
};

}  // namespace tavlix::app
