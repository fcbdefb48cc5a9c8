// Mount points and udev label names, as the kernel and udev write them.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/linux/linux_drives.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (tavlix::platform::DecodeMountField(text).size() > size) __builtin_trap();
  if (tavlix::platform::DecodeUdevLabel(text).size() > size) __builtin_trap();
  return 0;
}
