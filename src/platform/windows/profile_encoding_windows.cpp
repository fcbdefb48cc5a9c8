#include <windows.h>

#include <climits>

#include "platform/profile_encoding.h"
#include "platform/windows/win32_text.h"

// Through UTF-16, in the ANSI code page (GetACP) of the system.
namespace tavlix::platform {

std::string SystemCodePageToUtf8(std::string_view bytes) {
  if (bytes.empty() || bytes.size() > INT_MAX) return {};
  const int size = static_cast<int>(bytes.size());
  const int length = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, wide.data(), length);
  return Narrow(wide);
}

std::optional<std::string> Utf8ToSystemCodePage(std::string_view text) {
  if (text.empty()) return std::string();
  const std::wstring wide = Widen(text);
  if (wide.size() > INT_MAX) return std::nullopt;
  const int size = static_cast<int>(wide.size());
  // No best fit: a character the code page lacks must not turn into a
  // look-alike (or a '?') in the settings file.
  BOOL lacking = FALSE;
  const int length =
      ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr, 0, nullptr, &lacking);
  if (length <= 0 || lacking) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, bytes.data(), length, nullptr,
                        &lacking);
  if (lacking) return std::nullopt;
  return bytes;
}

}  // namespace tavlix::platform
