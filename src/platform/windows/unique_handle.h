// Owners of Win32 handles (Windows backend only): a file or device handle
// closed with CloseHandle, a search handle closed with FindClose.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <utility>

namespace tavlix::platform {

template <typename Close>
class BasicUniqueHandle {
 public:
  BasicUniqueHandle() = default;
  explicit BasicUniqueHandle(HANDLE handle) : handle_(handle) {}
  ~BasicUniqueHandle() { reset(); }
  BasicUniqueHandle(BasicUniqueHandle&& other) noexcept
      : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)) {}
  BasicUniqueHandle& operator=(BasicUniqueHandle&& other) noexcept {
    if (this != &other) {
      reset();
      handle_ = std::exchange(other.handle_, INVALID_HANDLE_VALUE);
    }
    return *this;
  }
  BasicUniqueHandle(const BasicUniqueHandle&) = delete;
  BasicUniqueHandle& operator=(const BasicUniqueHandle&) = delete;

  HANDLE get() const { return handle_; }
  // CreateFileW and FindFirstFileExW report failure as INVALID_HANDLE_VALUE.
  explicit operator bool() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE release() { return std::exchange(handle_, INVALID_HANDLE_VALUE); }
  void reset() {
    if (*this) Close{}(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

struct CloseFileHandle {
  void operator()(HANDLE handle) const { ::CloseHandle(handle); }
};
struct CloseFindHandle {
  void operator()(HANDLE handle) const { ::FindClose(handle); }
};

using UniqueHandle = BasicUniqueHandle<CloseFileHandle>;
using UniqueFindHandle = BasicUniqueHandle<CloseFindHandle>;

}  // namespace tavlix::platform
