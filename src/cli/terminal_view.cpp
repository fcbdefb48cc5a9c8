#include "cli/terminal_view.h"

#include <ostream>

namespace tavlix::cli {

TerminalView::TerminalView(std::ostream& out, std::ostream& err, bool terminal, std::function<void()> pump)
    : out_(out), err_(err), terminal_(terminal), pump_(std::move(pump)) {}

void TerminalView::ShowMessageBox(const std::string& text) {
  EndProgressLine();
  err_ << text << '\n' << std::flush;
}

void TerminalView::ShowBalloon(app::Balloon kind, const std::string& text) {
  if (kind == app::Balloon::save_failed || kind == app::Balloon::collector_busy) {
    ShowMessageBox(text);
    return;
  }
  EndProgressLine();
  out_ << text << '\n' << std::flush;
}

void TerminalView::ShowProgress(const app::ProgressStrip& strip) {
  const int percent = strip.percent;
  if (progress_held_) return;
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

void TerminalView::EndProgressLine() {
  if (progress_line_open_) out_ << '\n';
  progress_line_open_ = false;
}

}  // namespace tavlix::cli
