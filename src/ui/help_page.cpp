#include "ui/help_page.h"

#include "settings/settings_paths.h"

namespace TavlixSoft {

std::filesystem::path HelpDocumentPath() {
  std::filesystem::path path = tavlix::settings::HelpFilePath();
#ifndef _WIN32
  path.replace_extension(".html");
#endif
  return path;
}

}  // namespace TavlixSoft
