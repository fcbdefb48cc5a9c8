// The board models: the volume label a board shows is one of these codes.
// Rows are 1-based and carried in BOARD_FOUND's argument.
#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace tavlix::board {

inline constexpr std::array<std::string_view, 12> kModelCodes = {
    "R-71", "R-714", "R-61", "R-614", "R-60", "R-604", "T-60", "RT-60", "W-58", "W-57", "R-72", "R-724"};

// The row (1..12) of a label that equals a model code exactly (case and
// length included); nullopt for any other label.
std::optional<int> ModelRow(std::string_view label);

// The model code of a row, or an empty view for a row outside 1..12.
std::string_view ModelCode(int row);

}  // namespace tavlix::board
