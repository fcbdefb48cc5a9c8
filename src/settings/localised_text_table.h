// The localisation file's 53 entries, in the order in which they are read
// and applied: section, key, built-in default, and the text they fill.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "settings/localised_texts.h"

namespace tavlix::settings {

struct LocTextEntry {
  std::string_view section;
  std::string_view key;
  std::string_view default_text;
  std::string LocalisedTexts::*field;
};

std::span<const LocTextEntry> LocTextTable();

// The built-in default of the entry that fills `field`.
std::string_view DefaultLocText(std::string LocalisedTexts::*field);

}  // namespace tavlix::settings
