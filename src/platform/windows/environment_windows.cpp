#include <vector>

#include "platform/environment.h"
#include "platform/windows/unique_handle.h"
#include "platform/windows/win32_text.h"

namespace tavlix::platform {

// The wide-character block holds the variables as set, whatever the code
// page; names compare without regard to case, as Windows does.
std::optional<std::string> GetEnv(const std::string& name) {
  const std::wstring wide_name = Widen(name);
  std::vector<wchar_t> value(256);
  for (;;) {
    ::SetLastError(ERROR_SUCCESS);
    const DWORD length =
        ::GetEnvironmentVariableW(wide_name.c_str(), value.data(), static_cast<DWORD>(value.size()));
    if (length == 0) {
      if (::GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
      return std::string();  // set, but empty
    }
    // Too small a buffer gives the size needed, the NUL included; the value
    // may grow between two calls, so ask again.
    if (length < value.size()) return Narrow(std::wstring_view(value.data(), length));
    value.resize(length);
  }
}

void SetEnv(const std::string& name, const std::optional<std::string>& value) {
  // The C runtime keeps its own copy for getenv(); the program reads through
  // GetEnv() above only.
  const std::wstring wide_name = Widen(name);
  if (value)
    ::SetEnvironmentVariableW(wide_name.c_str(), Widen(*value).c_str());
  else
    ::SetEnvironmentVariableW(wide_name.c_str(), nullptr);
}

}  // namespace tavlix::platform
