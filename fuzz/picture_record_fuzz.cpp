// The picture record a collector keeps beside a board's lock, which the next
// collector reads: a damaged or foreign file must read as no record, and a
// record that reads must write back to the same record.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "board/picture_mark.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto mark = tavlix::board::PictureMark::FromText(text);
  if (!mark) return 0;
  const auto again = tavlix::board::PictureMark::FromText(mark->ToText());
  if (!again || !(*again == *mark)) __builtin_trap();
  return 0;
}
