#include "platform/windows/win32_text.h"

#include <climits>

#include "platform/windows/unique_handle.h"

namespace tavlix::platform {
namespace {

// Text lengths passed to the conversion calls are ints; longer text than that
// never reaches them (a path or a label is far shorter).
int ClampedLength(std::size_t size) {
  return size > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(size);
}

}  // namespace

std::wstring Widen(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int in = ClampedLength(utf8.size());
  const int need = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), in, nullptr, 0);
  if (need <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(need), L'\0');
  const int got = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), in, wide.data(), need);
  wide.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  return wide;
}

std::string Narrow(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int in = ClampedLength(wide.size());
  const int need = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), in, nullptr, 0, nullptr, nullptr);
  if (need <= 0) return {};
  std::string utf8(static_cast<std::size_t>(need), '\0');
  const int got = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), in, utf8.data(), need, nullptr, nullptr);
  utf8.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  return utf8;
}

std::string PathText(const std::filesystem::path& path) {
  return Narrow(path.native());
}

std::string SystemErrorText(unsigned long error) {
  wchar_t buffer[512];
  const DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                        error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), buffer,
                                        sizeof buffer / sizeof buffer[0], nullptr);
  std::string text = Narrow(std::wstring_view(buffer, length));
  while (!text.empty() &&
         (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' || text.back() == '.'))
    text.pop_back();
  return text.empty() ? "error " + std::to_string(error) : text;
}

}  // namespace tavlix::platform
