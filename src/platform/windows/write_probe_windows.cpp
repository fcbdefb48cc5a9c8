#include "platform/portable/random_name.h"
#include "platform/windows/unique_handle.h"
#include "platform/windows/win32_text.h"
#include "platform/write_probe.h"

namespace tavlix::platform {

Status ProbeFolderWritable(const std::filesystem::path& folder) {
  DWORD error = ERROR_FILE_EXISTS;
  // A name already taken says nothing about the folder: try another.
  for (int attempt = 0; attempt < 8 && (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS);
       ++attempt) {
    const std::filesystem::path probe = folder / Widen(RandomFileName(8, 3));
    UniqueHandle file(
        ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) {
      file.reset();
      ::DeleteFileW(probe.c_str());
      return Success();
    }
    error = ::GetLastError();
  }
  return Fail("cannot create a file in " + PathText(folder) + ": " + SystemErrorText(error));
}

}  // namespace tavlix::platform
