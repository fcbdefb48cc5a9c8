#include "platform/process.h"

// clang-format off
#include "platform/windows/unique_handle.h"
#include <shellapi.h>
// clang-format on

#include <memory>

#include "platform/windows/win32_text.h"

namespace tavlix::platform {
namespace {

struct LocalFreeDeleter {
  void operator()(LPWSTR* block) const { ::LocalFree(block); }
};

}  // namespace

void RestrictLibrarySearch() {
  ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

std::uint32_t ProcessId() {
  return static_cast<std::uint32_t>(::GetCurrentProcessId());
}

std::vector<std::string> ProcessArguments(int argc, char** argv) {
  int count = 0;
  const std::unique_ptr<LPWSTR, LocalFreeDeleter> wide(::CommandLineToArgvW(::GetCommandLineW(), &count));
  if (!wide) {
    // Without the wide form, the code page's text is still better than none.
    if (argc < 1) return {};
    return std::vector<std::string>(argv + 1, argv + argc);
  }
  std::vector<std::string> args;
  for (int i = 1; i < count; ++i) args.push_back(Narrow(wide.get()[i]));
  return args;
}

std::optional<std::filesystem::path> ProgramFolder() {
  // The buffer grows until the whole name fits (long paths exceed MAX_PATH).
  std::wstring name(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = ::GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (length == 0) return std::nullopt;
    if (length < name.size()) {
      name.resize(length);
      return std::filesystem::path(name).parent_path();
    }
    if (name.size() >= 32768) return std::nullopt;
    name.resize(name.size() * 2);
  }
}

}  // namespace tavlix::platform
