#include "app/detection_text.h"

#include "board/model_table.h"

namespace tavlix::app {

std::string DetectionText(std::intptr_t argument, const settings::LocalisedTexts& texts,
                          const std::vector<platform::DriveInfo>& drives) {
  const auto row = static_cast<int>(argument % 16);
  const std::string_view code = board::ModelCode(row);
  const std::intptr_t position = (argument / 16) % 26;
  std::string drive = "?";
  if (position >= 0 && static_cast<std::size_t>(position) < drives.size())
    drive = drives[static_cast<std::size_t>(position)].name;
  return texts.message_detecttv + "\n" + texts.message_detecttv_device + ":" +
         (code.empty() ? std::string("Other") : std::string(code)) + "\n" + texts.message_detecttv_drive +
         ":" + drive;
}

}  // namespace tavlix::app
