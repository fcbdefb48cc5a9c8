#include "settings/localised_texts.h"

#include "platform/files.h"
#include "platform/path_text.h"
#include "platform/profile_file.h"
#include "settings/localised_text_table.h"
#include "settings/settings_paths.h"

namespace tavlix::settings {
namespace {

// Values of more than 1023 characters are cut to their first 1023.
constexpr std::size_t kLocBufferSize = 1024;

}  // namespace

LocalisedTexts LoadLocalisedTexts() {
  LocalisedTexts texts;
  if (!platform::DirectoryExists(platform::PathFromUtf8(LocFolderPath()))) return texts;
  const std::filesystem::path file = platform::PathFromUtf8(LocFilePath());
  for (const LocTextEntry& entry : LocTextTable())
    texts.*entry.field =
        platform::ProfileReadString(entry.section, entry.key, entry.default_text, kLocBufferSize, file);
  texts.loc_flg = true;
  return texts;
}

LocalisedTexts DefaultLocalisedTexts() {
  LocalisedTexts texts;
  for (const LocTextEntry& entry : LocTextTable()) texts.*entry.field = std::string(entry.default_text);
  texts.loc_flg = true;
  return texts;
}

}  // namespace tavlix::settings
