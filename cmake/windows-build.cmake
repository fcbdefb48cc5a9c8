# What the Windows build leaves out and which programs it builds; on Linux
# these lists are not used.

# Sources (relative to the project root) that the Windows build leaves out.
# The platform layer's own POSIX and Linux files are left out by their names
# (*_posix.cpp, *_linux.cpp, linux_*.cpp) in src/platform/CMakeLists.txt.
set(TAVLIX_UNPORTED_SOURCES
  # Tests of the Linux backend's own mechanics, Linux-only for good: the mount
  # table and sysfs (linux_drives), and the hidden bit kept as the
  # user.DOSATTRIB extended attribute (attributes). The Windows backend's
  # attributes are tested against real Wine drives instead.
  tests/platform/linux_drives_test.cpp
  tests/platform/attributes_test.cpp)

# Programs built and tested for Windows: those whose every source and
# dependency exists there. Test programs are named <layer>_tests. A list given
# on the command line (-DTAVLIX_WINDOWS_PROGRAMS=...) tries others.
if(NOT DEFINED TAVLIX_WINDOWS_PROGRAMS)
  set(TAVLIX_WINDOWS_PROGRAMS
      tavlix
      TavlixConnect
      ui_win32_tests
      platform_tests
      imaging_tests
      settings_tests
      board_tests
      sim_tests
      cli_tests
      app_tests
      wine_tests)
endif()

# Removes the unported sources from the list in <var> when building for Windows.
function(tavlix_drop_unported var)
  if(WIN32)
    foreach(source IN LISTS TAVLIX_UNPORTED_SOURCES)
      list(REMOVE_ITEM ${var} "${PROJECT_SOURCE_DIR}/${source}")
    endforeach()
    set(${var} "${${var}}" PARENT_SCOPE)
  endif()
endfunction()

# Sets <var> to TRUE when the program <name> is built for the target system.
function(tavlix_program_builds name var)
  if(NOT WIN32 OR name IN_LIST TAVLIX_WINDOWS_PROGRAMS)
    set(${var} TRUE PARENT_SCOPE)
  else()
    set(${var} FALSE PARENT_SCOPE)
  endif()
endfunction()
