// Costs of the steps the worker repeats every 100 ms while the board is
// present: the drive search and the parse of a result.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "board/command_files.h"
#include "board/drive_discovery.h"
#include "board/link_state.h"
#include "platform/drive_table.h"
#include "platform/environment.h"

namespace {

std::string TableText(int drives) {
  std::string text = "# bench\n";
  for (int i = 0; i < drives - 1; ++i)
    text += std::string(1, static_cast<char>('A' + i)) + " fixed Disk" + std::to_string(i) + " /mnt/d" +
            std::to_string(i) + "\n";
  text += std::string(1, static_cast<char>('A' + drives - 1)) + " removable R-724 /media/board\n";
  return text;
}

void BM_ParseDriveTable(benchmark::State& state) {
  const std::string text = TableText(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(tavlix::platform::ParseDriveTable(text, "bench"));
}
BENCHMARK(BM_ParseDriveTable)->Arg(4)->Arg(26);

void BM_GetTargetDriveFromTable(benchmark::State& state) {
  const auto file = std::filesystem::temp_directory_path() / "tavlix-bench-drives.txt";
  std::ofstream(file) << TableText(static_cast<int>(state.range(0)));
  tavlix::platform::SetEnv(tavlix::platform::kDriveTableVariable, file.string());
  tavlix::board::ResetLinkStateForTests();
  tavlix::board::Link().Connected = true;
  std::string model, drive;
  for (auto _ : state) benchmark::DoNotOptimize(tavlix::board::GetTargetDrive(model, drive));
  tavlix::platform::SetEnv(tavlix::platform::kDriveTableVariable, std::nullopt);
  std::filesystem::remove(file);
}
BENCHMARK(BM_GetTargetDriveFromTable)->Arg(4)->Arg(26);

void BM_ParseReceiveCommand(benchmark::State& state) {
  tavlix::board::ResetLinkStateForTests();
  const std::uint8_t result[19] = {0x01, 0x23, 0x45, 0x67, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13};
  for (auto _ : state) benchmark::DoNotOptimize(tavlix::board::ParseReceiveCommand(result));
}
BENCHMARK(BM_ParseReceiveCommand);

}  // namespace
