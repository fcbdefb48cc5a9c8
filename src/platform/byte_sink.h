// A place that bytes are written to in order: a pending file, a buffer in
// memory. Encoders write to a sink and never see a file handle.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "core/result.h"

namespace tavlix::platform {

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // Appends all the bytes, or fails (a full disk, a closed file).
  virtual Status Write(std::span<const std::uint8_t> bytes) = 0;
};

// A sink that keeps everything in memory.
class MemorySink final : public ByteSink {
 public:
  Status Write(std::span<const std::uint8_t> bytes) override {
    data_.insert(data_.end(), bytes.begin(), bytes.end());
    return Success();
  }
  const std::vector<std::uint8_t>& data() const { return data_; }

 private:
  std::vector<std::uint8_t> data_;
};

}  // namespace tavlix::platform
