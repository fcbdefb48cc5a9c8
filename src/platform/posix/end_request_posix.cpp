#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>

#include "platform/end_request.h"
#include "platform/posix/unique_fd.h"

namespace tavlix::platform {
namespace {

constexpr std::array kSignals = {SIGTERM, SIGHUP, SIGINT};

// The pipe's writing end while a watch lives, else -1.
std::atomic<int> g_write_fd{-1};

unsigned char CodeOf(EndRequest request) {
  return static_cast<unsigned char>(request);
}

EndRequest RequestOfSignal(int signal) {
  switch (signal) {
    case SIGTERM: return EndRequest::terminate;
    case SIGHUP: return EndRequest::hang_up;
    case SIGINT: return EndRequest::interrupt;
    default: return EndRequest::none;
  }
}

void WriteCode(int fd, unsigned char code) {
  // A full pipe already holds requests enough: dropping this one loses nothing.
  if (fd < 0) return;
  [[maybe_unused]] const ssize_t written = ::write(fd, &code, 1);
}

extern "C" void OnEndSignal(int signal) {
  const int saved = errno;
  WriteCode(g_write_fd.load(), CodeOf(RequestOfSignal(signal)));
  errno = saved;
}

}  // namespace

struct EndRequestWatch::State {
  UniqueFd read_end;
  UniqueFd write_end;
  std::array<struct sigaction, kSignals.size()> previous{};
};

EndRequestWatch::EndRequestWatch(std::unique_ptr<State> state) : state_(std::move(state)) {}

Result<std::unique_ptr<EndRequestWatch>> EndRequestWatch::Start() {
  int ends[2];
  if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) return Fail("cannot make the end-request pipe");
  auto state = std::make_unique<State>();
  state->read_end = UniqueFd(ends[0]);
  state->write_end = UniqueFd(ends[1]);
  int expected = -1;
  if (!g_write_fd.compare_exchange_strong(expected, state->write_end.get()))
    return Fail("end requests are already watched");

  struct sigaction action {};
  action.sa_handler = OnEndSignal;
  action.sa_flags = SA_RESTART;
  sigemptyset(&action.sa_mask);
  sigset_t caught;
  sigemptyset(&caught);
  for (std::size_t i = 0; i < kSignals.size(); ++i) {
    ::sigaction(kSignals[i], &action, &state->previous[i]);
    sigaddset(&caught, kSignals[i]);
  }
  ::pthread_sigmask(SIG_UNBLOCK, &caught, nullptr);
  return std::unique_ptr<EndRequestWatch>(new EndRequestWatch(std::move(state)));
}

EndRequestWatch::~EndRequestWatch() {
  for (std::size_t i = 0; i < kSignals.size(); ++i) ::sigaction(kSignals[i], &state_->previous[i], nullptr);
  g_write_fd.store(-1);
}

int EndRequestWatch::descriptor() const {
  return state_->read_end.get();
}

EndRequest EndRequestWatch::Take() {
  unsigned char code = 0;
  if (::read(state_->read_end.get(), &code, 1) != 1) return EndRequest::none;
  return code <= CodeOf(EndRequest::session_end) ? static_cast<EndRequest>(code) : EndRequest::none;
}

void EndRequestWatch::Post(EndRequest request) {
  WriteCode(state_->write_end.get(), CodeOf(request));
}

}  // namespace tavlix::platform
