// The command line's window: the notification target of the board link for
// `tavlix scan`, `feed`, `watch` and `demo`. It reacts to every notification
// the way the toolbar does (ending the operation after a saved picture, a
// failed save or an error, forgetting the last result), but reports in text:
// a progress bar redrawn on one line on a terminal, plain lines otherwise, and
// the localised message texts for the board's errors.
//
// It belongs to the thread that creates it, which must pump it (Pump or
// WaitAndPump); notifications from the worker wait in its queue until then.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>

#include "board/queued_target.h"
#include "settings/localised_texts.h"

namespace tavlix::cli {

// How an operation ended, as the command's exit status says it.
enum class Outcome {
  none,         // still running
  saved,        // a picture was saved
  save_failed,  // a picture could not be saved
  board_error,  // the board answered busy or with an error
  timed_out,    // the board kept the folder or its progress stood still
  detached,     // the board went away during the operation
};

int ExitStatusOf(Outcome outcome);
const char* OutcomeName(Outcome outcome);

class CliWindow : public QueuedNotifyTarget {
 public:
  CliWindow(std::ostream& out, std::ostream& err, const settings::LocalisedTexts& texts, bool terminal);

  Outcome outcome() const { return outcome_; }
  void ResetOutcome() { outcome_ = Outcome::none; }
  int pictures_saved() const { return pictures_saved_; }
  int pictures_failed() const { return pictures_failed_; }
  // Shows a board error's text the way the toolbar's message box would.
  void ShowMessage(const std::string& text);

 private:
  void WndProc(int code, std::intptr_t arg);
  void DrawProgress(int percent);
  void EndProgressLine();
  void EndOperation(Outcome outcome);

  std::ostream& out_;
  std::ostream& err_;
  const settings::LocalisedTexts& texts_;
  bool terminal_;
  Outcome outcome_ = Outcome::none;
  int pictures_saved_ = 0;
  int pictures_failed_ = 0;
  int last_progress_ = -1;
  bool progress_line_open_ = false;
};

// The text of an error notification code (msg_errore3 for BOARD_ERR_E3, ...).
std::string ErrorText(const settings::LocalisedTexts& texts, int code);

}  // namespace tavlix::cli
