# What the Windows build leaves out while parts of the core still call POSIX
# directly or take `long` for 64 bits (it has 32 on Windows). Both lists
# shrink as that code is ported; on Linux they are not used.

# Sources (relative to the project root) that do not compile for Windows yet.
# The platform layer's own POSIX and Linux files are left out by their names
# (*_posix.cpp, *_linux.cpp, linux_*.cpp) in src/platform/CMakeLists.txt.
set(TAVLIX_UNPORTED_SOURCES
  src/imaging/pdf_packaging.cpp
  src/imaging/jpeg_codec.cpp
  src/imaging/board_pdf_reader.cpp
  src/imaging/board_pdf_writer.cpp
  tests/platform/attributes_test.cpp
  tests/platform/files_test.cpp
  tests/platform/profile_file_test.cpp
  tests/platform/linux_drives_test.cpp
  tests/platform/known_folders_test.cpp
  tests/platform/drive_table_test.cpp)

# Programs built and tested for Windows: those whose every source and
# dependency exists there. Test programs are named <layer>_tests. A list given
# on the command line (-DTAVLIX_WINDOWS_PROGRAMS=...) tries others.
if(NOT DEFINED TAVLIX_WINDOWS_PROGRAMS)
  set(TAVLIX_WINDOWS_PROGRAMS platform_tests wine_tests)
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
