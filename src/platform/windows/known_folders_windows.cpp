#include <memory>

#include "platform/environment.h"
#include "platform/files.h"
#include "platform/known_folders.h"
#include "platform/path_text.h"
#include "platform/windows/win32_text.h"
// The shell's headers need <windows.h> before them.
// clang-format off
#include "platform/windows/unique_handle.h"
#include <knownfolders.h>
#include <objbase.h>
#include <shlobj.h>
// clang-format on

namespace tavlix::platform {
namespace {

struct CoTaskFree {
  void operator()(wchar_t* text) const { ::CoTaskMemFree(text); }
};

// The folder the shell knows by `id`, without creating or checking it.
std::optional<std::string> KnownFolder(REFKNOWNFOLDERID id) {
  wchar_t* raw = nullptr;
  const HRESULT result = ::SHGetKnownFolderPath(id, KF_FLAG_DONT_VERIFY, nullptr, &raw);
  const std::unique_ptr<wchar_t, CoTaskFree> owned(raw);  // freed even on failure
  if (FAILED(result) || raw == nullptr || *raw == L'\0') return std::nullopt;
  return Narrow(raw);
}

std::string VariableOrKnownFolder(const char* name, REFKNOWNFOLDERID id) {
  if (auto value = GetNonEmptyEnv(name)) return *value;
  return KnownFolder(id).value_or(std::string());
}

}  // namespace

// The variables are always set on Windows; the known folders stand in only
// where a test or a stripped environment removed them.
std::string ProgramDataFolder() {
  return VariableOrKnownFolder(kAllUsersProfileVariable, FOLDERID_ProgramData);
}

std::vector<std::string> ProgramDataFolders() {
  return {ProgramDataFolder()};
}

std::string UserDataFolder() {
  return VariableOrKnownFolder(kUserDataVariable, FOLDERID_RoamingAppData);
}

bool MakeUserDataFolder() {
  const std::string folder = UserDataFolder();
  return !folder.empty() && DirectoryExists(PathFromUtf8(folder));
}

std::string ProgramFilesFolder() {
  return VariableOrKnownFolder(kProgramFilesVariable, FOLDERID_ProgramFiles);
}

std::string UserProfileFolder() {
  return VariableOrKnownFolder(kUserProfileVariable, FOLDERID_Profile);
}

std::optional<std::string> UserPicturesFolder() {
  return KnownFolder(FOLDERID_Pictures);
}

}  // namespace tavlix::platform
