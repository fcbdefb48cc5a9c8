#include "app/help_page.h"

#include "platform/files.h"
#include "platform/path_text.h"
#include "platform/process.h"
#include "settings/settings_paths.h"

namespace tavlix::app {

std::filesystem::path HelpDocumentPathBeside(const std::optional<std::filesystem::path>& program_folder) {
  std::filesystem::path usual = platform::PathFromUtf8(settings::HelpFilePath());
  if (platform::FileExists(usual) || !program_folder) return usual;
  const std::filesystem::path beside = *program_folder / settings::kHelpFileName;
  return platform::FileExists(beside) ? beside : usual;
}

std::filesystem::path HelpDocumentPath() {
  return HelpDocumentPathBeside(platform::ProgramFolder());
}

}  // namespace tavlix::app
