// What the worker costs while it runs for real: CPU time per minute of wall
// time with the board present and idle, and with no board; and the latency
// from a picture appearing on the board to BOARD_IMAGE_SAVED (PNG to PNG).
//
// Real time, real clock: each measurement runs the worker thread for a few
// seconds. Run with --benchmark_repetitions to see the spread.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <time.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

#include "board/driver_facade.h"
#include "board/queued_target.h"
#include "platform/drives.h"
#include "platform/environment.h"
#include "platform/shell.h"
#include "sim/sim_board.h"

namespace {

namespace fs = std::filesystem;
using namespace tavlix;

double CpuSeconds() {
  timespec t{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

struct Machine {
  fs::path dir;
  fs::path table;
  fs::path save;
  explicit Machine(bool with_board) {
    dir = fs::temp_directory_path() / ("tavlix-worker-bench-" + std::to_string(::getpid()));
    fs::create_directories(dir / "board" / "cmd");
    save = dir / "saved";
    fs::create_directories(save);
    table = dir / "drives.txt";
    std::ofstream(table) << "C fixed System /\n"
                         << (with_board ? "E removable R-61 " + (dir / "board").string() + "\n" : "");
    platform::SetEnv(platform::kDriveTableVariable, table.string());
  }
  ~Machine() {
    platform::SetEnv(platform::kDriveTableVariable, std::nullopt);
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
};

// Runs the worker for `seconds` of wall time; reports its CPU share of one core.
void RunIdle(benchmark::State& state, const Machine& machine) {
  const auto seconds = static_cast<double>(state.range(0));
  for (auto _ : state) {
    board::ResetDriverForTests();
    board::QueuedNotifyTarget window([](int, std::intptr_t) {});
    board::DriverInit(&window);
    board::OfferSetting(settings::OutputFormat::png, machine.save.string());
    board::DriverOpen();
    const double cpu_start = CpuSeconds();
    const auto wall_start = std::chrono::steady_clock::now();
    while (std::chrono::duration<double>(std::chrono::steady_clock::now() - wall_start).count() < seconds)
      window.WaitAndPump(std::chrono::milliseconds(500));  // the bench's own share stays tiny
    const double cpu = CpuSeconds() - cpu_start;
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wall_start).count();
    state.SetIterationTime(wall);
    state.counters["cpu_percent_of_one_core"] = 100.0 * cpu / wall;
    state.counters["cpu_ms_per_minute"] = 1000.0 * cpu * 60.0 / wall;
    board::ResetDriverForTests();
  }
}

void BM_WorkerIdleBoardPresent(benchmark::State& state) {
  RunIdle(state, Machine(true));
}
void BM_WorkerIdleNoBoard(benchmark::State& state) {
  RunIdle(state, Machine(false));
}
// The machine's own drives (mount table, sysfs), where no board is attached.
void BM_WorkerIdleRealDrives(benchmark::State& state) {
  const Machine machine(false);
  platform::SetEnv(platform::kDriveTableVariable, std::nullopt);
  RunIdle(state, machine);
}
BENCHMARK(BM_WorkerIdleRealDrives)->Arg(10)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_WorkerIdleBoardPresent)->Arg(5)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_WorkerIdleNoBoard)->Arg(5)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

// From the moment a picture appears on the board to BOARD_IMAGE_SAVED.
void BM_PictureToSavedLatency(benchmark::State& state) {
  Machine machine(true);
  platform::SetShellOpenHook([](const fs::path&) { return true; });
  sim::SimBoardOptions options;
  options.root = machine.dir / "board";
  options.picture.width = static_cast<std::uint32_t>(state.range(0));
  options.picture.height = static_cast<std::uint32_t>(state.range(0)) * 9 / 16;
  sim::SimBoard board(options);
  board::ResetDriverForTests();
  bool saved = false;
  board::QueuedNotifyTarget window([&](int code, std::intptr_t) {
    if (code == board::BOARD_IMAGE_SAVED) saved = true;
  });
  board::DriverInit(&window);
  board::OfferSetting(settings::OutputFormat::png, machine.save.string());
  board::DriverOpen();
  std::mt19937 random(7);
  for (auto _ : state) {
    saved = false;
    // Land at a random point of the worker's 100 ms cycle, not just after a copy.
    std::this_thread::sleep_for(std::chrono::milliseconds(random() % 100));
    board.StorePicture();  // the picture appears when this returns
    const auto start = std::chrono::steady_clock::now();
    while (!saved) window.WaitAndPump(std::chrono::milliseconds(1));
    state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  board::ResetDriverForTests();
  platform::SetShellOpenHook(nullptr);
}
BENCHMARK(BM_PictureToSavedLatency)
    ->Arg(640)
    ->Arg(1920)
    ->Iterations(20)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
