# Cross build for 64-bit Windows with Debian's MinGW-w64 (posix threads, so
# std::thread and std::mutex work). Executables are linked statically and run
# alone; CTest runs them under Wine through scripts/wine-run.
#
# TAVLIX_WINDOWS_DEPS: a folder whose subfolders are install prefixes of the
# libraries built for Windows (scripts/build-windows-deps); each is searched
# like the MinGW sysroot, and the host's own headers and libraries never are.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TAVLIX_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TAVLIX_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TAVLIX_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TAVLIX_MINGW_TRIPLE}-windres)

list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TAVLIX_WINDOWS_DEPS)
set(CMAKE_FIND_ROOT_PATH /usr/${TAVLIX_MINGW_TRIPLE})
if(TAVLIX_WINDOWS_DEPS)
  file(GLOB tavlix_dep_prefixes LIST_DIRECTORIES true "${TAVLIX_WINDOWS_DEPS}/*")
  foreach(prefix IN LISTS tavlix_dep_prefixes)
    if(IS_DIRECTORY "${prefix}")
      list(APPEND CMAKE_FIND_ROOT_PATH "${prefix}")
    endif()
  endforeach()
endif()
# Prefixes given as CMAKE_PREFIX_PATH are roots too (the libraries' own builds).
list(APPEND CMAKE_FIND_ROOT_PATH ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Static archives only: nothing to ship beside the .exe.
set(CMAKE_FIND_LIBRARY_SUFFIXES .a)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run")
