// A windowed program gets no signals: the toolbar's window procedure turns
// WM_QUERYENDSESSION / WM_ENDSESSION into Post(), and reads them back here.
#include <atomic>
#include <deque>
#include <mutex>

#include "platform/end_request.h"

namespace tavlix::platform {
namespace {

std::atomic<bool> g_watched{false};

}  // namespace

struct EndRequestWatch::State {
  std::mutex mutex;
  std::deque<EndRequest> waiting;
};

EndRequestWatch::EndRequestWatch(std::unique_ptr<State> state) : state_(std::move(state)) {}

Result<std::unique_ptr<EndRequestWatch>> EndRequestWatch::Start() {
  if (g_watched.exchange(true)) return Fail("end requests are already watched");
  return std::unique_ptr<EndRequestWatch>(new EndRequestWatch(std::make_unique<State>()));
}

EndRequestWatch::~EndRequestWatch() {
  g_watched.store(false);
}

int EndRequestWatch::descriptor() const {
  return -1;
}

EndRequest EndRequestWatch::Take() {
  const std::lock_guard lock(state_->mutex);
  if (state_->waiting.empty()) return EndRequest::none;
  const EndRequest request = state_->waiting.front();
  state_->waiting.pop_front();
  return request;
}

void EndRequestWatch::Post(EndRequest request) {
  const std::lock_guard lock(state_->mutex);
  state_->waiting.push_back(request);
}

}  // namespace tavlix::platform
