# Cross-compiling the Windows programs with MinGW-w64 (Debian's g++-mingw-w64-*-posix).
# VANDREL_WINDOWS_ARCH chooses the target: x86_64 (the default) or i686.
#   cmake -S . -B build-win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
#   cmake -S . -B build-win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DVANDREL_WINDOWS_ARCH=i686
set(CMAKE_SYSTEM_NAME Windows)
if(NOT VANDREL_WINDOWS_ARCH)
  set(VANDREL_WINDOWS_ARCH x86_64)
endif()
# Try-compile projects see the same target.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VANDREL_WINDOWS_ARCH)
set(CMAKE_SYSTEM_PROCESSOR ${VANDREL_WINDOWS_ARCH})
set(triple ${VANDREL_WINDOWS_ARCH}-w64-mingw32)

# The posix-thread variants: std::thread and std::mutex need them.
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)
set(CMAKE_OBJCOPY ${triple}-objcopy CACHE FILEPATH "objcopy of the target")

set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every program carries its C and C++ runtime: a package needs no DLL beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Tests and test discovery of the 64-bit build run under Wine; the 32-bit build is only built
# (this machine's Wine runs 64-bit programs only).
if(VANDREL_WINDOWS_ARCH STREQUAL "x86_64")
  find_program(VANDREL_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
  if(VANDREL_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${VANDREL_WINE})
  endif()
endif()
