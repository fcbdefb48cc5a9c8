// Ends the toolbar as Exit does when the session asks it to: at logout, when
// stopped by a service manager or a kill, on a hang-up or Ctrl-C
// (platform/end_request.h), and on any other way out of the event loop, such
// as the session manager's quit. Exit saves the settings, stops the worker
// after its current step (a picture is saved whole or not at all) and ends
// the event loop.
//
// GUI thread. The watch and the window must outlive the event loop.
#pragma once

#include "platform/end_request.h"

namespace tavlix::ui_qt {

class Form1;

void ExitOnEndRequest(Form1& form, tavlix::platform::EndRequestWatch* watch);

}  // namespace tavlix::ui_qt
