#include "cli/sim_options.h"

namespace tavlix::cli {

Result<SimSetup> SimBoardOptionsFrom(const ParsedOptions& options) {
  SimSetup setup;
  sim::SimBoardOptions& o = setup.board;
  o.step_pace = platform::Millis(300);
  o.picture.width = 1600;
  o.picture.height = 900;
  if (const auto steps = options.value("--steps")) {
    const auto n = ParseNumber(*steps, 1, 100);
    if (!n) return Fail("--steps takes a number from 1 to 100");
    o.progress_steps = static_cast<int>(*n);
  }
  if (const auto pace = options.value("--pace")) {
    const auto ms = ParseNumber(*pace, 0, 600'000);
    if (!ms) return Fail("--pace takes milliseconds");
    o.step_pace = platform::Millis(*ms);
  }
  if (const auto picture = options.value("--picture")) {
    const auto kind = sim::ParsePictureKind(*picture);
    if (!kind) return Fail("--picture takes png, jpeg or pdf");
    o.picture.kind = *kind;
  }
  if (const auto pages = options.value("--pages")) {
    const auto n = ParseNumber(*pages, 1, 4);
    if (!n) return Fail("--pages takes a number from 1 to 4");
    o.picture.pages = static_cast<int>(*n);
  }
  if (const auto size = options.value("--size")) {
    const auto x = size->find('x');
    const auto w = x == std::string::npos ? std::nullopt : ParseNumber(size->substr(0, x), 1, 8000);
    const auto h = x == std::string::npos ? std::nullopt : ParseNumber(size->substr(x + 1), 1, 8000);
    if (!w || !h) return Fail("--size takes WIDTHxHEIGHT, each 1 to 8000");
    o.picture.width = static_cast<std::uint32_t>(*w);
    o.picture.height = static_cast<std::uint32_t>(*h);
  }
  o.picture.grey = options.has("--grey");
  if (const auto fault = options.value("--fault")) {
    const auto parsed = sim::ParseFault(*fault);
    if (!parsed) return Fail("unknown fault '" + *fault + "'");
    setup.fault = *parsed;
  }
  return setup;
}

}  // namespace tavlix::cli
