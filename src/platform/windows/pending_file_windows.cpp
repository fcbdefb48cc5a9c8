#include "platform/random_name.h"
#include "platform/windows/pending_file.h"
#include "platform/windows/win32_text.h"

namespace tavlix::platform {
namespace {

namespace fs = std::filesystem;

Error SystemError(const char* what, const fs::path& path, DWORD error) {
  return Fail(std::string(what) + " " + PathText(path) + ": " + SystemErrorText(error));
}

}  // namespace

Result<PendingFile> PendingFile::Create(const fs::path& folder, std::string_view stem) {
  const fs::path base = folder.empty() ? fs::path(L".") : folder;
  for (int attempt = 0; attempt < 16; ++attempt) {
    fs::path temp = base / Widen(std::string(stem) + "." + RandomFileName(8, 0) + ".tmp");
    UniqueHandle file(
        ::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) return PendingFile(std::move(file), std::move(temp));
    const DWORD error = ::GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
      return SystemError("cannot create a file in", base, error);
  }
  return Fail("cannot create a temporary file in " + PathText(base));
}

PendingFile::PendingFile(PendingFile&& other) noexcept
    : file_(std::move(other.file_)), temp_(std::move(other.temp_)), failed_(other.failed_) {
  other.temp_.clear();
}

PendingFile& PendingFile::operator=(PendingFile&& other) noexcept {
  if (this != &other) {
    Discard();
    file_ = std::move(other.file_);
    temp_ = std::move(other.temp_);
    failed_ = other.failed_;
    other.temp_.clear();
  }
  return *this;
}

void PendingFile::Discard() {
  file_.reset();
  if (!temp_.empty()) ::DeleteFileW(temp_.c_str());
  temp_.clear();
}

Status PendingFile::Write(std::span<const std::uint8_t> bytes) {
  if (!file_) return Fail("cannot write " + PathText(temp_) + ": the file is closed");
  while (!bytes.empty()) {
    const DWORD ask = static_cast<DWORD>(bytes.size() < (1u << 20) ? bytes.size() : (1u << 20));
    DWORD put = 0;
    if (!::WriteFile(file_.get(), bytes.data(), ask, &put, nullptr) || put == 0) {
      failed_ = true;
      return SystemError("cannot write", temp_, ::GetLastError());
    }
    bytes = bytes.subspan(put);
  }
  return Success();
}

Status PendingFile::CommitAs(const fs::path& final_path, CommitMode mode, DWORD attributes) {
  if (!file_ || temp_.empty() || failed_)
    return Fail("cannot save " + PathText(final_path) + ": nothing was written");
  // The data must be on the device before the name appears; a full disk
  // shows here at the latest.
  if (!::FlushFileBuffers(file_.get())) return SystemError("cannot write", final_path, ::GetLastError());
  if (!::CloseHandle(file_.release())) return SystemError("cannot write", final_path, ::GetLastError());
  if (attributes != 0 && !::SetFileAttributesW(temp_.c_str(), attributes))
    return SystemError("cannot set the attributes of", temp_, ::GetLastError());
  const DWORD flags = MOVEFILE_WRITE_THROUGH | (mode == CommitMode::replace ? MOVEFILE_REPLACE_EXISTING : 0);
  if (!::MoveFileExW(temp_.c_str(), final_path.c_str(), flags)) {
    const DWORD error = ::GetLastError();
    if (mode == CommitMode::never_replace && (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS))
      return Fail("cannot save " + PathText(final_path) + ": a file of that name exists");
    return SystemError("cannot save", final_path, error);
  }
  temp_.clear();  // the name now belongs to the saved file
  return Success();
}

}  // namespace tavlix::platform
