// Costs of start-up's settings work: the 51 localised texts, each read from
// the file by its own profile read, and the settings file's load and save.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/environment.h"
#include "platform/known_folders.h"
#include "settings/localised_text_table.h"
#include "settings/localised_texts.h"
#include "settings/settings_file.h"
#include "settings/settings_paths.h"

namespace {

namespace fs = std::filesystem;

// A program data folder with a complete localisation file, also the user's
// folder, for one benchmark.
class ProgramData {
 public:
  ProgramData() {
    fs::create_directories(root_ / "Orvane Tavlix" / "TavlixConnect");
    tavlix::platform::SetEnv(tavlix::platform::kAllUsersProfileVariable, root_.string());
    tavlix::platform::SetEnv(tavlix::platform::kUserDataVariable, root_.string());
    std::ofstream loc(tavlix::settings::LocFilePath(), std::ios::binary);
    std::string_view section;
    for (const auto& entry : tavlix::settings::LocTextTable()) {
      if (entry.section != section) loc << "[" << (section = entry.section) << "]\r\n";
      loc << entry.key << "=" << entry.default_text << " (translated)\r\n";
    }
  }
  ~ProgramData() {
    tavlix::platform::SetEnv(tavlix::platform::kAllUsersProfileVariable, std::nullopt);
    tavlix::platform::SetEnv(tavlix::platform::kUserDataVariable, std::nullopt);
    fs::remove_all(root_);
  }
  ProgramData(const ProgramData&) = delete;
  ProgramData& operator=(const ProgramData&) = delete;

 private:
  fs::path root_ = fs::temp_directory_path() / "tavlix-bench-settings";
};

void BM_LoadLocalisedTexts(benchmark::State& state) {
  ProgramData data;
  for (auto _ : state) benchmark::DoNotOptimize(tavlix::settings::LoadLocalisedTexts());
}
BENCHMARK(BM_LoadLocalisedTexts)->Unit(benchmark::kMicrosecond);

void BM_LoadIniSettings(benchmark::State& state) {
  ProgramData data;
  (void)tavlix::settings::SaveIniSettings(
      {tavlix::settings::OutputFormat::jpeg, "/home/user/Pictures/TavlixConnect/"});
  for (auto _ : state) benchmark::DoNotOptimize(tavlix::settings::LoadIniSettings());
}
BENCHMARK(BM_LoadIniSettings)->Unit(benchmark::kMicrosecond);

void BM_SaveIniSettingsChanged(benchmark::State& state) {
  ProgramData data;
  int code = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(tavlix::settings::SaveIniSettings(
        {tavlix::settings::FormatFromCode(code), "/home/user/Pictures/TavlixConnect/"}));
    code = (code + 1) % 4;
  }
}
BENCHMARK(BM_SaveIniSettingsChanged)->Unit(benchmark::kMicrosecond);

}  // namespace
