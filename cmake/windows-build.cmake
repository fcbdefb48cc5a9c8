# Which programs the Windows build makes; on Linux the list is not used. Each
# CMakeLists names its sources for both systems and picks a system's own
# files (src/platform/windows or posix + linux, the tests of one backend) by
# WIN32, so nothing here leaves sources out.

# Programs built and tested for Windows. Test programs are named
# <layer>_tests; the Qt toolbar's ui_tests is Linux-only (the Windows toolbar
# is src/ui_win32, tested by ui_win32_tests), and so is the FAT check program
# of tests/vfat. A list given on the command line
# (-DTAVLIX_WINDOWS_PROGRAMS=...) builds fewer or tries others.
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

# Sets <var> to TRUE when the program <name> is built for the target system.
function(tavlix_program_builds name var)
  if(NOT WIN32 OR name IN_LIST TAVLIX_WINDOWS_PROGRAMS)
    set(${var} TRUE PARENT_SCOPE)
  else()
    set(${var} FALSE PARENT_SCOPE)
  endif()
endfunction()
