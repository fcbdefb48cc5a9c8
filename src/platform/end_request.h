// Requests from outside to end the program: the desktop session ending at
// logout, a service manager stopping it, the terminal hanging up, Ctrl-C. A
// front end answers each by doing what its own Exit does.
//
// POSIX: while a watch lives, SIGTERM, SIGHUP and SIGINT are caught (and
// unblocked, should the parent have blocked them); the handler only writes
// the request into a pipe whose reading end, descriptor(), the front end's
// event loop watches. Windows has no such signals for a windowed program: its
// window procedure learns of the session's end from WM_QUERYENDSESSION /
// WM_ENDSESSION and calls Post(), which Take() then reports the same way.
//
// One watch a process: Start fails while another lives. Start and the
// destructor (which puts back the handlers found at Start) run on the main
// thread; Take on the thread that watches descriptor(); Post on any thread.
#pragma once

#include <memory>

#include "core/result.h"

namespace tavlix::platform {

enum class EndRequest { none, terminate, hang_up, interrupt, session_end };

class EndRequestWatch {
 public:
  static Result<std::unique_ptr<EndRequestWatch>> Start();
  ~EndRequestWatch();
  EndRequestWatch(const EndRequestWatch&) = delete;
  EndRequestWatch& operator=(const EndRequestWatch&) = delete;

  // Readable while a request waits (POSIX); -1 where the system has no
  // descriptor to watch.
  int descriptor() const;
  // The oldest waiting request, or none; never blocks.
  EndRequest Take();
  // A request the front end learnt of itself.
  void Post(EndRequest request);

  struct State;

 private:
  explicit EndRequestWatch(std::unique_ptr<State> state);
  std::unique_ptr<State> state_;
};

}  // namespace tavlix::platform
