#include <utility>

#include "platform/folder_listing.h"
#include "platform/portable/device_names.h"
#include "platform/windows/file_time_conversion.h"
#include "platform/windows/win32_text.h"

namespace tavlix::platform {

Result<std::vector<FolderFile>> ListFolderFiles(const std::filesystem::path& folder) {
  WIN32_FIND_DATAW found{};
  const std::filesystem::path pattern = folder / L"*";
  // The basic level skips the short names, which nothing here needs.
  UniqueFindHandle search(::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch,
                                             nullptr, FIND_FIRST_EX_LARGE_FETCH));
  std::vector<FolderFile> files;
  if (!search) {
    const DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND) return files;  // a drive's empty root has no "." either
    return Fail("cannot list " + PathText(folder) + ": " + SystemErrorText(error));
  }
  constexpr DWORD kNotAFile = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE;
  do {
    if ((found.dwFileAttributes & kNotAFile) != 0) continue;
    std::string name = Narrow(found.cFileName);
    // A lone surrogate comes back as U+FFFD: that name would open another file.
    if (Widen(name) != found.cFileName) continue;
    // Opened by name, "COM1.jpg" would be the serial port, not this file.
    if (IsDeviceName(name)) continue;
    files.push_back({std::move(name), CreationOrWriteTime(found.ftCreationTime, found.ftLastWriteTime)});
  } while (::FindNextFileW(search.get(), &found));
  if (const DWORD error = ::GetLastError(); error != ERROR_NO_MORE_FILES)
    return Fail("cannot list " + PathText(folder) + ": " + SystemErrorText(error));
  return files;
}

}  // namespace tavlix::platform
