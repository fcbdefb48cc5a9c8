#include <string>

#include "platform/held_file.h"
#include "platform/windows/unique_handle.h"
#include "platform/windows/win32_text.h"

namespace tavlix::platform {

struct HeldFile::Handle {
  UniqueHandle file;
};

HeldFile::HeldFile(std::unique_ptr<Handle> handle) : handle_(std::move(handle)) {}
HeldFile::HeldFile(HeldFile&&) noexcept = default;
HeldFile& HeldFile::operator=(HeldFile&&) noexcept = default;
HeldFile::~HeldFile() = default;

// Shared for deletion only: every open to read or write the file, a
// reader's included, fails with a sharing violation until the handle is
// closed, while the file may still be renamed (the board gives a held
// picture its name) or deleted, as on Linux.
Result<HeldFile> HeldFile::Hold(const std::filesystem::path& path) {
  UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!file) return Fail("cannot hold " + PathText(path) + ": " + SystemErrorText(::GetLastError()));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(file.get(), &info) ||
      (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) != 0)
    return Fail("cannot hold " + PathText(path) + ": not a regular file");
  return HeldFile(std::make_unique<Handle>(Handle{std::move(file)}));
}

}  // namespace tavlix::platform
