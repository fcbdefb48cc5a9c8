// TavlixConnect.exe: the toolbar and tray icon for Windows. One copy per logon
// session: a second start asks the first to show its toolbar. The command line
// is ignored; the exit code is always 0.
#include <objbase.h>

#include "platform/process.h"
#include "ui_win32/single_instance.h"
#include "ui_win32/toolbar_window.h"

int WINAPI WinMain(HINSTANCE module, HINSTANCE, LPSTR, int) {
  tavlix::platform::RestrictLibrarySearch();
  const tavlix::ui_win32::InstanceMutex instance;
  if (!instance.held()) {
    tavlix::ui_win32::AskRunningCopyToShow();  // another copy runs in this session
    return 0;
  }

  // The folder picker and the shell want a single-threaded apartment.
  const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);
  {
    tavlix::ui_win32::ToolbarWindow toolbar(module);
    toolbar.Run();
  }
  if (SUCCEEDED(com)) ::CoUninitialize();
  return 0;
}
