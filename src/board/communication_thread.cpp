#include "board/communication_thread.h"

namespace tavlix {

TCommunicationThread::TCommunicationThread(HWND_T hWnd)
    : hWnd_Form_(hWnd), OutputFileSavePath(std::make_shared<const std::string>()) {}

bool TCommunicationThread::ChangeImageFileSetting(int Setting_OutputFileExt,
                                                  const std::string& Setting_OutputFileSavePath) {
  auto copy = std::make_shared<const std::string>(Setting_OutputFileSavePath);
  OutputFileExt = Setting_OutputFileExt;
  std::lock_guard lock(save_path_mutex_);
  OutputFileSavePath = std::move(copy);
  return true;
}

std::shared_ptr<const std::string> TCommunicationThread::SavePath() const {
  std::lock_guard lock(save_path_mutex_);
  return OutputFileSavePath;
}

}  // namespace tavlix
