// The picture conversions on a 2496 x 1760 whiteboard picture, as the copy
// step and `tavlix convert` run them (files written through the safe save,
// flushed to the device). Run with --benchmark_repetitions for medians;
// compare_peers.py sets the other tools beside them.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench_inputs.h"
#include "imaging/board_pdf_pictures.h"
#include "imaging/board_pdf_reader.h"
#include "imaging/pdf_packaging.h"
#include "imaging/png_codec.h"

namespace {

namespace fs = std::filesystem;
using namespace tavlix;

const bench::Inputs& Inputs() {
  // The inputs' folder goes when the program ends.
  struct Folder {
    fs::path path;
    ~Folder() {
      std::error_code ec;
      fs::remove_all(path, ec);
    }
  };
  static const Folder folder{fs::temp_directory_path() / ("tavlix-bench-" + std::to_string(::getpid()))};
  static const bench::Inputs inputs = [] {
    std::string error;
    auto in = bench::WriteInputs(folder.path, error);
    if (in.png.empty()) std::abort();
    return in;
  }();
  return inputs;
}

fs::path Out(const std::string& name) {
  return Inputs().png.parent_path() / name;
}

void Check(benchmark::State& state, const Status& status) {
  if (!status) state.SkipWithError(status.error().c_str());
}

std::array<fs::path, 4> PageNames(const std::string& extension) {
  return {Out("page" + extension), Out("page_2" + extension), Out("page_3" + extension),
          Out("page_4" + extension)};
}

void BoardPdfToPictures(benchmark::State& state, imaging::PictureFormat format, int pages) {
  const auto names = PageNames(std::string(imaging::ExtensionOf(format)));
  for (auto _ : state) {
    auto pdf = imaging::ReadBoardPdf(Inputs().board_pdf);
    if (!pdf) return state.SkipWithError(pdf.error().c_str());
    pdf->layout.pages = pages;
    Check(state, imaging::SaveBoardPdfPages(*pdf, names, format, imaging::SaveMode::replace));
  }
}

void BM_BoardPdfInflatePage(benchmark::State& state) {
  const auto pdf = imaging::ReadBoardPdf(Inputs().board_pdf);
  std::vector<std::uint8_t> pixels;
  for (auto _ : state) Check(state, imaging::InflateBoardPdfPage(pdf->bytes, pdf->layout, 0, pixels));
}
BENCHMARK(BM_BoardPdfInflatePage)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_BoardPdfToPng(benchmark::State& state) {
  BoardPdfToPictures(state, imaging::PictureFormat::png, static_cast<int>(state.range(0)));
}
BENCHMARK(BM_BoardPdfToPng)->ArgName("pages")->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_BoardPdfToJpeg(benchmark::State& state) {
  BoardPdfToPictures(state, imaging::PictureFormat::jpeg, static_cast<int>(state.range(0)));
}
BENCHMARK(BM_BoardPdfToJpeg)->ArgName("pages")->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PngToPdf(benchmark::State& state) {
  for (auto _ : state)
    Check(state, imaging::PackagePictureAsPdf(Inputs().png, imaging::PictureFormat::png, Out("png.pdf"),
                                              imaging::SaveMode::replace));
}
BENCHMARK(BM_PngToPdf)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_JpegToPdf(benchmark::State& state) {
  for (auto _ : state)
    Check(state, imaging::PackagePictureAsPdf(Inputs().jpeg, imaging::PictureFormat::jpeg, Out("jpeg.pdf"),
                                              imaging::SaveMode::replace));
}
BENCHMARK(BM_JpegToPdf)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PngToJpeg(benchmark::State& state) {
  for (auto _ : state)
    Check(state, imaging::ConvertPicture(Inputs().png, Out("c.jpg"), imaging::PictureFormat::jpeg,
                                         imaging::SaveMode::replace));
}
BENCHMARK(BM_PngToJpeg)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_JpegToPng(benchmark::State& state) {
  for (auto _ : state)
    Check(state, imaging::ConvertPicture(Inputs().jpeg, Out("c.png"), imaging::PictureFormat::png,
                                         imaging::SaveMode::replace));
}
BENCHMARK(BM_JpegToPng)->Unit(benchmark::kMillisecond)->UseRealTime();

// The PNG encoder alone, into a file in memory, with the settings compared
// when the program's were chosen; "bytes" is the file size.
void BM_PngEncoding(benchmark::State& state) {
  using F = imaging::PngEncoding::Filter;
  using S = imaging::PngEncoding::Strategy;
  static const imaging::PngEncoding kSettings[] = {
      imaging::LibpngDefaultEncoding(),
      imaging::WhiteboardPngEncoding(),
      {F::none, 1, S::standard},
      {F::sub, 1, S::rle},
      {F::up, 1, S::rle},
      {F::sub, 2, S::standard},
      {F::sub, 3, S::standard},
      {F::up, 3, S::standard},
  };
  static const char* kNames[] = {"libpng defaults", "chosen: none, level 3", "none, level 1", "sub, rle",
                                 "up, rle",         "sub, level 2",          "sub, level 3",  "up, level 3"};
  const auto index = static_cast<std::size_t>(state.range(0));
  state.SetLabel(kNames[index]);
  const auto picture = imaging::LoadPicture(Inputs().png);
  std::size_t bytes = 0;
  for (auto _ : state) {
    platform::MemorySink out;
    Check(state, imaging::EncodePng(imaging::ViewOf(*picture), out, kSettings[index]));
    bytes = out.data().size();
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_PngEncoding)->DenseRange(0, 7)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
