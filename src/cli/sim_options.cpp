#include "cli/sim_options.h"

#include "cli/options.h"

namespace tavlix::cli {
namespace {

constexpr const char* kFaultsHelp =
    "\n"
    "--fault F makes every scan misbehave: busy, error:N, status:N, bad-magic,\n"
    "never-release, stall:P, vanish:P[:MS], no-cmd-folder, slow-write:MS (the\n"
    "picture grows in pieces over MS ms), hold:MS (the picture stays in use for\n"
    "MS ms).";

using Size = std::pair<std::uint32_t, std::uint32_t>;

// "WIDTHxHEIGHT", each 1 to 8000.
std::optional<Size> ParseSize(const std::string& text) {
  const auto x = text.find('x');
  if (x == std::string::npos) return std::nullopt;
  const auto w = ParseNumber(text.substr(0, x), 1, 8000);
  const auto h = ParseNumber(text.substr(x + 1), 1, 8000);
  if (!w || !h) return std::nullopt;
  return Size(static_cast<std::uint32_t>(*w), static_cast<std::uint32_t>(*h));
}

}  // namespace

SimSetup DefaultSimSetup() {
  SimSetup setup;
  setup.board.step_pace = platform::Millis(300);
  setup.board.picture.width = 1600;
  setup.board.picture.height = 900;
  return setup;
}

void AddSimBoardOptions(CLI::App& command, SimSetup& setup) {
  sim::SimBoardOptions& o = setup.board;
  const auto fallback = [](auto value) { return " (default " + std::to_string(value) + ")"; };
  AddParsedOption(command, "--steps", "N", o.progress_steps, NumberIn(1, 100), "a number from 1 to 100",
                  "progress steps a scan takes" + fallback(o.progress_steps));
  AddParsedOption(command, "--pace", "MS", o.step_pace, NumberIn(0, 600'000), "a number of milliseconds",
                  "at least MS milliseconds between steps" + fallback(o.step_pace.count()));
  AddParsedOption(command, "--picture", "KIND", o.picture.kind, sim::ParsePictureKind, "png, jpeg or pdf",
                  "png, jpeg or pdf: what a scan stores (default png)");
  AddParsedOption(command, "--pages", "N", o.picture.pages, NumberIn(1, 4), "a number from 1 to 4",
                  "pages of a stored PDF" + fallback(o.picture.pages));
  command.add_flag("--grey", o.picture.grey, "store grey pictures");
  sim::PictureSpec& picture = o.picture;
  command
      .add_option_function<std::string>(
          "--size",
          [&picture](const std::string& text) {
            const auto size = ParseSize(text);
            if (!size)
              throw CLI::ValidationError("--size: '" + text + "' is not WIDTHxHEIGHT, each 1 to 8000");
            picture.width = size->first;
            picture.height = size->second;
          },
          "picture size in pixels (default " + std::to_string(picture.width) + "x" +
              std::to_string(picture.height) + ")")
      ->type_name("WxH");
  AddParsedOption(command, "--fault", "F", setup.fault, sim::ParseFault, "a known fault",
                  "every scan misbehaves (see below)");
  command.footer(command.get_footer() + kFaultsHelp);
}

}  // namespace tavlix::cli
