// tavlix_bench_inputs FOLDER: writes the benchmark inputs for compare_peers.py.
#include "bench_inputs.h"

#include <iostream>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "Usage: tavlix_bench_inputs FOLDER\n";
    return 2;
  }
  std::string error;
  const auto inputs = tavlix::bench::WriteInputs(argv[1], error);
  if (inputs.png.empty()) {
    std::cerr << "tavlix_bench_inputs: " << error << '\n';
    return 1;
  }
  std::cout << inputs.png.string() << '\n'
            << inputs.jpeg.string() << '\n'
            << inputs.board_pdf.string() << '\n';
  return 0;
}
