#include "app/help_page.h"

#include "settings/settings_paths.h"

namespace tavlix::app {

std::filesystem::path HelpDocumentPath() {
  return settings::HelpFilePath();
}

}  // namespace tavlix::app
