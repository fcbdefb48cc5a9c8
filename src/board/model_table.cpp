#include "board/model_table.h"

namespace tavlix::board {

std::optional<int> ModelRow(std::string_view label) {
  for (std::size_t i = 0; i < kModelCodes.size(); ++i) {
    if (kModelCodes[i] == label) return static_cast<int>(i + 1);
  }
  return std::nullopt;
}

std::string_view ModelCode(int row) {
  if (row < 1 || row > static_cast<int>(kModelCodes.size())) return {};
  return kModelCodes[static_cast<std::size_t>(row - 1)];
}

}  // namespace tavlix::board
