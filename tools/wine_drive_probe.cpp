// Checks a drive made by scripts/wine-make-board-drive from the Windows side:
//   wine_drive_probe.exe drive E:\         prints "type=<GetDriveTypeW> label=<volume label>"
//   wine_drive_probe.exe hide E:\folder    sets FILE_ATTRIBUTE_HIDDEN, prints "attributes=<hex>"
//   wine_drive_probe.exe show E:\folder    sets FILE_ATTRIBUTE_NORMAL, prints "attributes=<hex>"
// Exit status 0 on success, 1 when a call fails, 2 on bad arguments.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

std::string Utf8(const wchar_t* text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return {};
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
  out.pop_back();
  return out;
}

int PrintDrive(const wchar_t* root) {
  wchar_t label[MAX_PATH + 1] = {};
  const UINT type = GetDriveTypeW(root);
  if (!GetVolumeInformationW(root, label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0)) {
    std::printf("type=%u label-error=%lu\n", type, GetLastError());
    return 1;
  }
  std::printf("type=%u label=%s\n", type, Utf8(label).c_str());
  return 0;
}

int SetAttributes(const wchar_t* path, DWORD attributes) {
  if (!SetFileAttributesW(path, attributes)) {
    std::printf("set-error=%lu\n", GetLastError());
    return 1;
  }
  const DWORD now = GetFileAttributesW(path);
  std::printf("attributes=0x%lx\n", now);
  return now == INVALID_FILE_ATTRIBUTES ? 1 : 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) return 2;
  const std::wstring command = argv[1];
  if (command == L"drive") return PrintDrive(argv[2]);
  if (command == L"hide") return SetAttributes(argv[2], FILE_ATTRIBUTE_HIDDEN);
  if (command == L"show") return SetAttributes(argv[2], FILE_ATTRIBUTE_NORMAL);
  return 2;
}
