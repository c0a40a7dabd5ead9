# Small helpers shared by the subsystem CMake files.

# vandrel_library(NAME SOURCES... [DEPS libs...])
# A static library whose headers are included as "folder/file.h" from the repository root.
function(vandrel_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  if(ARG_DEPS)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  endif()
endfunction()

# vandrel_test(NAME SOURCES... [DEPS libs...] [NEEDS targets...] [LABELS labels...])
# One GoogleTest executable per library; every case is registered with ctest. NEEDS names
# the programs the tests run: they are built before the tests. LABELS are given
# to every case (widget tests: gui).
# Tests find the programs in build/bin through VANDREL_BIN and the source tree through
# VANDREL_SOURCE.
#
# A Windows build (cross-compiled, run under Wine) builds only the tests of
# VANDREL_WINDOWS_TESTS, and registers each program as one ctest test.
function(vandrel_test name)
  if(NOT VANDREL_TESTS)
    return()
  endif()
  if(WIN32 AND NOT name IN_LIST VANDREL_WINDOWS_TESTS)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;NEEDS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  if(ARG_NEEDS)
    add_dependencies(${name} ${ARG_NEEDS})
  endif()
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} vandrel_test_support GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    VANDREL_BIN="${CMAKE_RUNTIME_OUTPUT_DIRECTORY}"
    VANDREL_SOURCE="${PROJECT_SOURCE_DIR}")
  if(WIN32)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "VANDREL_UI=scripted")
    return()
  endif()
  include(GoogleTest)
  if(ARG_LABELS)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS "${ARG_LABELS}"
      ENVIRONMENT "VANDREL_UI=scripted;VANDREL_BIN=${CMAKE_RUNTIME_OUTPUT_DIRECTORY}")
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
      PROPERTIES ENVIRONMENT "VANDREL_UI=scripted;VANDREL_BIN=${CMAKE_RUNTIME_OUTPUT_DIRECTORY}")
  endif()
endfunction()

# vandrel_companion_file(PROGRAM NAME OUTPUT_VAR)
# The program as the builder packs it: without its debug information and its symbol table (it
# is copied into every package, and every setup expands it before it starts: the symbols of
# our static libraries are half of it), compressed (SZDD) into build/bin/NAME. A sanitizer
# build keeps the symbols, which its reports name functions by. OUTPUT_VAR receives the
# file's path.
function(vandrel_companion_file program name out)
  set(output ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${name})
  set(stripped ${CMAKE_CURRENT_BINARY_DIR}/${name}.program)
  if(VANDREL_SANITIZE)
    set(strip_option --strip-debug)
  else()
    set(strip_option --strip-all)
  endif()
  if(CMAKE_OBJCOPY)
    set(copy_command ${CMAKE_OBJCOPY} ${strip_option} $<TARGET_FILE:${program}> ${stripped})
  else()
    set(copy_command ${CMAKE_COMMAND} -E copy $<TARGET_FILE:${program}> ${stripped})
  endif()
  # A cross build compresses with the build machine's own vandrel-lz (VANDREL_HOST_LZ).
  if(CMAKE_CROSSCOMPILING)
    if(NOT VANDREL_HOST_LZ)
      message(FATAL_ERROR "A cross build needs VANDREL_HOST_LZ: the build machine's vandrel-lz")
    endif()
    set(compressor ${VANDREL_HOST_LZ})
    set(compressor_target)
  else()
    set(compressor vandrel-lz)
    set(compressor_target vandrel-lz)
  endif()
  add_custom_command(OUTPUT ${output}
    COMMAND ${copy_command}
    COMMAND ${compressor} compress ${stripped} ${output}
    DEPENDS ${program} ${compressor_target}
    COMMENT "Compressing ${program} into ${name}")
  set(${out} ${output} PARENT_SCOPE)
endfunction()
