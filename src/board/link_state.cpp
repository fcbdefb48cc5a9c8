#include "board/link_state.h"

namespace tavlix::board {

LinkState& Link() {
  static LinkState state;
  return state;
}

void ResetLinkStateForTests() {
  LinkState& s = Link();
  s.hWnd_Form = nullptr;
  s.Connected = false;
  s.WriteRequest = kMailboxEmpty;
  s.WriteBuffer.fill(0);
  s.WriteBufferSize = 0;
  s.ReadRequest = false;
  s.ReadBuffer.fill(0);
  s.ReadBufferSize = 0;
  {
    std::lock_guard lock(s.result_mutex);
    s.ResultFile = TResultFile{};
  }
  s.CurrentProgress = 0;
}

}  // namespace tavlix::board
