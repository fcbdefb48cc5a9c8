#include "support/temp_dir.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <thread>

#include "platform/portable/random_name.h"
#include "support/set_env.h"

namespace tavlix::test {

TempDir::TempDir() {
  static std::atomic<int> counter{0};
  const char* base = std::getenv("TEST_TMPDIR");  // NOLINT(concurrency-mt-unsafe)
  const std::filesystem::path root = base != nullptr ? base : std::filesystem::temp_directory_path();
  path_ = root / ("tavlix-test-" + platform::RandomFileName(8, 0) + "-" + std::to_string(counter++));
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

void WriteFile(const std::filesystem::path& path, std::string_view content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

void ReplaceFile(const std::filesystem::path& path, std::string_view content) {
  std::filesystem::path temporary = path;
  temporary += ".new";
  WriteFile(temporary, content);
  std::error_code ec;
  for (int attempt = 0; attempt < 1000; ++attempt) {
    std::filesystem::rename(temporary, path, ec);
    if (!ec) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  throw std::runtime_error("cannot replace " + path.string() + ": " + ec.message());
}

void WriteBytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  WriteFile(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

ScopedEnv::ScopedEnv(std::string name, const std::string& value) : name_(std::move(name)) {
  if (const char* old = std::getenv(name_.c_str())) {  // NOLINT(concurrency-mt-unsafe)
    had_old_ = true;
    old_ = old;
  }
  SetEnvVariable(name_, value);
}

ScopedEnv::~ScopedEnv() {
  SetEnvVariable(name_, had_old_ ? std::optional<std::string>(old_) : std::nullopt);
}

}  // namespace tavlix::test
