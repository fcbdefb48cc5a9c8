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
  // The table is the machine's; the program's folders, the machine's or the
  // user's, switch the texts on (with the built-in ones where no table is).
  const std::filesystem::path file = platform::PathFromUtf8(LocFilePath());
  const std::filesystem::path folder = file.parent_path();
  if (!platform::DirectoryExists(folder) &&
      !platform::DirectoryExists(platform::PathFromUtf8(SettingFolderPath())))
    return texts;
  // Nothing is read through a link there: nobody may redirect the texts.
  const bool linked = platform::IsLinkEntry(folder) || platform::IsLinkEntry(folder.parent_path());
  for (const LocTextEntry& entry : LocTextTable()) {
    auto value = linked ? std::nullopt
                        : platform::ProfileReadValue(entry.section, entry.key, kLocBufferSize, file,
                                                     platform::Links::refuse);
    texts.*entry.field =
        value ? std::move(*value) : std::string(entry.default_text.substr(0, kLocBufferSize - 1));
  }
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
