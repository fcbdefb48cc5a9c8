// The board's result file, as the worker hands it to the parser.
#include <cstddef>
#include <cstdint>
#include <span>

#include "board/command_files.h"
#include "board/link_state.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::size_t used = size < tavlix::board::kMaxResultBytes ? size : tavlix::board::kMaxResultBytes;
  const int parsed = tavlix::board::ParseReceiveCommand(std::span<const std::uint8_t>(data, used));
  if (parsed != tavlix::board::kParsedOther && parsed != tavlix::board::kParsedResult) __builtin_trap();
  tavlix::board::TResultFile result;
  tavlix::board::GetLastResult(result);
  if (parsed == tavlix::board::kParsedResult && result.Magic != 0x01234567) __builtin_trap();
  return 0;
}
