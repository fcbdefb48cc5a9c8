#include "app/help_page.h"

#include "settings/settings_paths.h"

namespace tavlix::app {

std::filesystem::path HelpDocumentPath() {
  std::filesystem::path path = settings::HelpFilePath();
#ifndef _WIN32
  path.replace_extension(".html");
#endif
  return path;
}

}  // namespace tavlix::app
