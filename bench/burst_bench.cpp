// A burst: N pictures renamed onto the board at once, collected by the
// worker's picture check run back to back (the worker's 100 ms between
// cycles left out). Reports the time to collect them all, the pictures
// saved (each must be saved once: saved == N) and the process's peak
// resident memory. The peer is the same burst without the picture record a
// lock holder keeps, so the record's cost shows as a ratio.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "board/communication_thread.h"
#include "platform/drives.h"
#include "platform/environment.h"
#include "platform/shell.h"

namespace {

namespace fs = std::filesystem;
using namespace tavlix;

// The smallest whole PNG (one grey pixel): the collector's work, not the
// codec's, is measured.
constexpr unsigned char kPng[] = {
    0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52, 0x00,
    0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x00, 0x00, 0x00, 0x00, 0x3A, 0x7E, 0x9B, 0x55, 0x00,
    0x00, 0x00, 0x0A, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9C, 0x63, 0x60, 0x00, 0x00, 0x00, 0x02, 0x00, 0x01,
    0x48, 0xAF, 0xA4, 0x71, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};

long PeakKilobytes() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

void Burst(benchmark::State& state, bool with_record) {
  const int count = static_cast<int>(state.range(0));
  const fs::path dir = fs::temp_directory_path() / ("tavlix-burst-bench-" + std::to_string(::getpid()));
  platform::SetShellOpenHook([](const fs::path&) { return true; });
  long saved_total = 0;
  for (auto _ : state) {
    state.PauseTiming();
    fs::remove_all(dir);
    fs::create_directories(dir / "board");
    fs::create_directories(dir / "staging");
    std::ofstream(dir / "drives.txt")
        << "C fixed System /\nE removable R-61 " << (dir / "board").string() << "\n";
    platform::SetEnv(platform::kDriveTableVariable, (dir / "drives.txt").string());
    board::TCommunicationThread worker(nullptr);
    worker.ChangeImageFileSetting(settings::OutputFormat::board, (dir / "saved").string());
    if (with_record) worker.SetPictureRecord(dir / "record");
    for (int i = 0; i < count; ++i)
      std::ofstream(dir / "staging" / ("P" + std::to_string(i) + ".png"), std::ios::binary)
          .write(reinterpret_cast<const char*>(kPng), sizeof kPng);
    for (const auto& entry : fs::directory_iterator(dir / "staging"))
      fs::rename(entry.path(), dir / "board" / entry.path().filename());
    state.ResumeTiming();

    for (int cycle = 0; cycle < 2 * count && worker.CheckImageFile(true); ++cycle) {
    }

    state.PauseTiming();
    for (const board::SavedFile& file : worker.TakeSavedFiles()) saved_total += file.saved ? 1 : 0;
    state.ResumeTiming();
  }
  state.counters["saved_per_burst"] =
      static_cast<double>(saved_total) / static_cast<double>(state.iterations());
  state.counters["peak_rss_kB"] = static_cast<double>(PeakKilobytes());
  platform::SetEnv(platform::kDriveTableVariable, std::nullopt);
  platform::SetShellOpenHook(nullptr);
  std::error_code ec;
  fs::remove_all(dir, ec);
}

void BM_BurstCollected(benchmark::State& state) {
  Burst(state, true);
}
void BM_BurstCollectedWithoutRecord(benchmark::State& state) {
  Burst(state, false);
}

BENCHMARK(BM_BurstCollected)->Arg(1000)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_BurstCollectedWithoutRecord)->Arg(1000)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
