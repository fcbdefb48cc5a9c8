#include "app/notification_table.h"

#include <array>

#include "app/toolbar_controller.h"
#include "board/notify.h"

namespace tavlix::app {
namespace {

using Text = std::string settings::LocalisedTexts::*;
using settings::LocalisedTexts;

// The error box text of each code from BOARD_BUSY (8) on; null: no box.
constexpr std::array<Text, 14> kErrorBoxTexts = {
    &LocalisedTexts::msg_statusbusy,  // 8 BOARD_BUSY
    nullptr,                          // 9
    &LocalisedTexts::msg_errore1,
    &LocalisedTexts::msg_errore2,
    &LocalisedTexts::msg_errore3,
    &LocalisedTexts::msg_errore4,
    &LocalisedTexts::msg_errore5,
    &LocalisedTexts::msg_errore6,
    &LocalisedTexts::msg_errorus,
    &LocalisedTexts::msg_errorfl,
    &LocalisedTexts::msg_errorel,
    &LocalisedTexts::msg_usbreturnerr,  // 19 BOARD_TIMEOUT
    &LocalisedTexts::msg_detatcherr,    // 20 BOARD_DETACHED
    &LocalisedTexts::msg_errorother,    // 21 BOARD_ERR_OTHER
};

}  // namespace

const std::string* ErrorBoxText(const LocalisedTexts& texts, int code) {
  if (code < board::BOARD_BUSY || code > board::BOARD_ERR_OTHER) return nullptr;
  const Text text = kErrorBoxTexts[static_cast<std::size_t>(code - board::BOARD_BUSY)];
  return text != nullptr ? &(texts.*text) : nullptr;
}

std::optional<Outcome> OutcomeOfCode(int code) {
  switch (code) {
    case board::BOARD_IMAGE_SAVED: return Outcome::saved;
    case board::BOARD_SAVE_FAILED: return Outcome::save_failed;
    case board::BOARD_TIMEOUT: return Outcome::timed_out;
    case board::BOARD_DETACHED: return Outcome::detached;
    default: break;
  }
  if (code == board::BOARD_BUSY || (code >= board::BOARD_ERR_E1 && code <= board::BOARD_ERR_OTHER))
    return Outcome::board_error;
  return std::nullopt;
}

}  // namespace tavlix::app
