#include "cli/cli_window.h"

#include <ostream>

#include "board/command_files.h"
#include "board/driver_facade.h"
#include "board/model_table.h"
#include "board/notify.h"

namespace tavlix::cli {

int ExitStatusOf(Outcome outcome) {
  switch (outcome) {
    case Outcome::saved: return 0;
    case Outcome::none: return 1;
    case Outcome::timed_out: return 4;
    case Outcome::detached: return 5;
    case Outcome::board_error: return 6;
    case Outcome::save_failed: return 7;
  }
  return 1;
}

const char* OutcomeName(Outcome outcome) {
  switch (outcome) {
    case Outcome::none: return "none";
    case Outcome::saved: return "saved";
    case Outcome::save_failed: return "save failed";
    case Outcome::board_error: return "board error";
    case Outcome::timed_out: return "time-out";
    case Outcome::detached: return "detached";
  }
  return "none";
}

std::string ErrorText(const settings::LocalisedTexts& texts, int code) {
  switch (code) {
    case BOARD_BUSY: return texts.msg_statusbusy;
    case BOARD_ERR_E1: return texts.msg_errore1;
    case BOARD_ERR_E2: return texts.msg_errore2;
    case BOARD_ERR_E3: return texts.msg_errore3;
    case BOARD_ERR_E4: return texts.msg_errore4;
    case BOARD_ERR_E5: return texts.msg_errore5;
    case BOARD_ERR_E6: return texts.msg_errore6;
    case BOARD_ERR_US: return texts.msg_errorus;
    case BOARD_ERR_FL: return texts.msg_errorfl;
    case BOARD_ERR_EL: return texts.msg_errorel;
    case BOARD_TIMEOUT: return texts.msg_usbreturnerr;
    case BOARD_DETACHED: return texts.msg_detatcherr;
    case BOARD_ERR_OTHER: return texts.msg_errorother;
    default: return {};
  }
}

CliWindow::CliWindow(std::ostream& out, std::ostream& err, const settings::LocalisedTexts& texts,
                     bool terminal)
    : QueuedNotifyTarget([this](int code, std::intptr_t arg) { WndProc(code, arg); }),
      out_(out),
      err_(err),
      texts_(texts),
      terminal_(terminal) {}

void CliWindow::ShowMessage(const std::string& text) {
  EndProgressLine();
  err_ << text << '\n' << std::flush;
}

void CliWindow::EndOperation(Outcome outcome) {
  if (outcome_ == Outcome::none) outcome_ = outcome;
  CleanResult();
  SetFlgAppScan(false);
}

void CliWindow::WndProc(int code, std::intptr_t arg) {
  switch (code) {
    case BOARD_IMAGE_SAVED:
      EndProgressLine();
      ++pictures_saved_;
      out_ << texts_.message_imagesave << '\n' << std::flush;
      EndOperation(Outcome::saved);
      break;
    case BOARD_SAVE_FAILED:
      ++pictures_failed_;
      ShowMessage(texts_.message_savefail);
      EndOperation(Outcome::save_failed);
      break;
    case BOARD_FOUND: {
      const int row = static_cast<int>(arg % 16);
      const std::string_view model = ModelCode(row);
      EndProgressLine();
      out_ << texts_.message_detecttv << " (" << texts_.message_detecttv_device << ":"
           << (model.empty() ? "Other" : std::string(model)) << ")\n"
           << std::flush;
      break;
    }
    case BOARD_LOST:
      EndProgressLine();
      out_ << "The board was removed.\n" << std::flush;
      break;
    case BOARD_JOB_BEGIN: break;
    case BOARD_JOB_END: EndProgressLine(); break;
    case BOARD_PROGRESS: DrawProgress(static_cast<int>(arg)); break;
    case BOARD_TIMEOUT:
      ShowMessage(ErrorText(texts_, code));
      EndOperation(Outcome::timed_out);
      break;
    case BOARD_DETACHED:
      ShowMessage(ErrorText(texts_, code));
      EndOperation(Outcome::detached);
      break;
    default:
      if (const std::string text = ErrorText(texts_, code); !text.empty()) {
        ShowMessage(text);
        EndOperation(Outcome::board_error);
      }
      break;
  }
}

void CliWindow::DrawProgress(int percent) {
  if (percent <= 0) {
    EndProgressLine();
    last_progress_ = percent;
    return;
  }
  if (percent == last_progress_) return;
  last_progress_ = percent;
  const int shown = percent > 100 ? 100 : percent;
  if (!terminal_) {
    out_ << "progress " << shown << "%\n" << std::flush;
    return;
  }
  constexpr int kWidth = 40;
  const int filled = shown * kWidth / 100;
  out_ << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
       << std::string(static_cast<std::size_t>(kWidth - filled), ' ') << "] " << shown << "%" << std::flush;
  progress_line_open_ = true;
}

void CliWindow::EndProgressLine() {
  if (progress_line_open_) out_ << '\n';
  progress_line_open_ = false;
}

}  // namespace tavlix::cli
