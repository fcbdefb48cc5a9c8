#include <span>

#include "platform/atomic_file.h"
#include "platform/windows/pending_file.h"
#include "platform/windows/win32_text.h"

namespace tavlix::platform {
namespace {

namespace fs = std::filesystem;

// The file a path names, through a symbolic link or junction; the path itself
// when it names nothing yet or is no link.
fs::path RealTarget(const fs::path& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) return path;
  UniqueHandle file(::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file) return path;
  std::wstring name(32768, L'\0');  // the longest path there is
  const DWORD length = ::GetFinalPathNameByHandleW(file.get(), name.data(), static_cast<DWORD>(name.size()),
                                                   FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  if (length == 0 || length >= name.size()) return path;
  name.resize(length);
  return fs::path(std::move(name));
}

}  // namespace

Status ReplaceFileContents(const fs::path& path, std::string_view bytes) {
  const fs::path target = RealTarget(path);
  if (!target.has_filename()) return Fail("cannot write " + PathText(path) + ": not a file name");
  // An existing file keeps its attributes (hidden, read-only, ...), as its
  // permission bits are kept on Linux.
  DWORD keep = 0;
  if (const DWORD old = ::GetFileAttributesW(target.c_str()); old != INVALID_FILE_ATTRIBUTES) {
    if ((old & FILE_ATTRIBUTE_DIRECTORY) != 0)
      return Fail("cannot write " + PathText(path) + ": it is a folder");
    keep = old &
           (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);
  }
  auto pending = PendingFile::Create(target.parent_path(), "." + Narrow(target.filename().native()));
  if (!pending) return Error{pending.error()};
  const std::span<const std::uint8_t> data(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  if (Status written = pending->Write(data); !written) return written;
  return pending->CommitAs(target, CommitMode::replace, keep);
}

}  // namespace tavlix::platform
