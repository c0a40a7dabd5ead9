# What the Windows build takes from outside. The Windows programs link no outside library:
# the registry and the compound files (structured storage) are the system's own, and the Qt
# windows stay with the emulated backend. Two header-only or source-only packages are taken
# from the host: CLI11 (header-only) and GoogleTest, compiled here for the target.

# CLI11: the host's headers, seen through a folder that holds only them (the host's
# /usr/include must not come before the target's own headers).
if(NOT TARGET CLI11::CLI11)
  set(cli11_headers /usr/include/CLI)
  if(NOT EXISTS ${cli11_headers}/CLI.hpp)
    message(FATAL_ERROR "CLI11 headers not found in ${cli11_headers} (Debian: libcli11-dev)")
  endif()
  set(cli11_include ${CMAKE_BINARY_DIR}/host-headers)
  file(MAKE_DIRECTORY ${cli11_include})
  file(CREATE_LINK ${cli11_headers} ${cli11_include}/CLI SYMBOLIC)
  add_library(CLI11::CLI11 INTERFACE IMPORTED)
  target_include_directories(CLI11::CLI11 SYSTEM INTERFACE ${cli11_include})
endif()

# GoogleTest from its sources (Debian: googletest), for the target.
if(VANDREL_TESTS AND NOT TARGET GTest::gtest)
  set(googletest_source /usr/src/googletest CACHE PATH "GoogleTest sources")
  if(NOT EXISTS ${googletest_source}/CMakeLists.txt)
    message(FATAL_ERROR "GoogleTest sources not found in ${googletest_source} (Debian: googletest)")
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  # It names its targets GTest::gtest, GTest::gmock, GTest::gtest_main as the package does.
  add_subdirectory(${googletest_source} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
endif()
