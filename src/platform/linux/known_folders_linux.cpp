#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string_view>
#include <vector>

#include "platform/environment.h"
#include "platform/files.h"
#include "platform/known_folders.h"

#ifndef TAVLIX_DATA_DIR
#error "TAVLIX_DATA_DIR must name the installed data folder"
#endif

namespace tavlix::platform {
namespace {

std::string HomeFolder() {
  if (auto home = GetNonEmptyEnv("HOME")) return *home;
  struct passwd entry {};
  struct passwd* found = nullptr;
  std::vector<char> buffer(16384);
  if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
      found->pw_dir != nullptr)
    return found->pw_dir;
  return {};
}

// The XDG configuration folder; a relative $XDG_CONFIG_HOME is ignored, as
// the XDG rules say.
std::string ConfigHome() {
  if (auto config = GetNonEmptyEnv("XDG_CONFIG_HOME"); config && config->front() == '/') return *config;
  const std::string home = HomeFolder();
  return home.empty() ? std::string() : home + "/.config";
}

// One XDG_..._DIR="$HOME/folder" or ="/folder" line of user-dirs.dirs; the
// last valid definition wins, as when the file is sourced by a shell.
std::optional<std::string> ParseUserDir(std::string_view text, std::string_view name,
                                        const std::string& home) {
  std::optional<std::string> result;
  while (!text.empty()) {
    const std::size_t lf = text.find('\n');
    std::string_view line = text.substr(0, lf);
    text = lf == std::string_view::npos ? std::string_view() : text.substr(lf + 1);
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    if (!line.starts_with(name)) continue;
    line.remove_prefix(name.size());
    if (!line.starts_with("=\"")) continue;
    line.remove_prefix(2);
    std::string folder;
    if (line.starts_with("$HOME") && (line.size() == 5 || line[5] == '/' || line[5] == '"')) {
      folder = home;
      line.remove_prefix(5);
    } else if (!line.starts_with('/')) {
      continue;
    }
    bool closed = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
      if (line[i] == '"') {
        closed = true;
        break;
      }
      if (line[i] == '\\' && i + 1 < line.size()) ++i;
      folder += line[i];
    }
    if (!closed || folder.empty()) continue;
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    result = std::move(folder);
  }
  return result;
}

}  // namespace

std::vector<std::string> ProgramDataFolders() {
  if (auto value = GetNonEmptyEnv(kAllUsersProfileVariable)) return {*value};
  std::vector<std::string> folders;
  std::string_view dirs;
  const auto variable = GetNonEmptyEnv("XDG_CONFIG_DIRS");
  if (variable) dirs = *variable;
  while (!dirs.empty()) {
    const std::size_t colon = dirs.find(':');
    const std::string_view entry = dirs.substr(0, colon);
    dirs = colon == std::string_view::npos ? std::string_view() : dirs.substr(colon + 1);
    if (entry.starts_with('/')) folders.emplace_back(entry);
  }
  if (folders.empty()) folders.emplace_back("/etc/xdg");
  return folders;
}

std::string ProgramDataFolder() {
  return ProgramDataFolders().front();
}

std::string UserDataFolder() {
  if (auto value = GetNonEmptyEnv(kUserDataVariable)) return *value;
  return ConfigHome();
}

bool MakeUserDataFolder() {
  if (GetNonEmptyEnv(kUserDataVariable)) return DirectoryExists(UserDataFolder());
  const std::string folder = ConfigHome();
  if (folder.empty()) return false;
  ::mkdir(folder.c_str(), 0700);
  return DirectoryExists(folder);
}

std::string ProgramFilesFolder() {
  if (auto value = GetNonEmptyEnv(kProgramFilesVariable)) return *value;
  return TAVLIX_DATA_DIR;
}

std::string UserProfileFolder() {
  if (auto value = GetNonEmptyEnv(kUserProfileVariable)) return *value;
  return HomeFolder();
}

std::optional<std::string> UserPicturesFolder() {
  const std::string config = ConfigHome();
  if (config.empty()) return std::nullopt;
  const auto bytes = ReadFileBytes(config + "/user-dirs.dirs", 1u << 16);
  if (!bytes) return std::nullopt;
  const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
  return ParseUserDir(text, "XDG_PICTURES_DIR", HomeFolder());
}

}  // namespace tavlix::platform
