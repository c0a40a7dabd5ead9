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

# vandrel_program_resources(TARGET FILE name DESCRIPTION text [LEVEL level] [LIBRARY]
#                           [LANGUAGE hex CODEPAGE number])
# What Windows shows of a program under Properties > Details, and what the setup engine's
# version comparison reads: the version resource (product "Vandrel", the project's version,
# the description), in the language of the program's texts (LANGUAGE and CODEPAGE: 0409 and
# 1200, US English in Unicode, unless given; the French programs give 040c and 1252). On
# Windows, with an application manifest besides (common controls 6, per-monitor DPI
# awareness, the supported Windows versions, the execution level LEVEL: asInvoker unless
# given) and the programs' icon; a LIBRARY gets neither. On Linux the version block goes into
# the program's ELF version section, where the emulated machine reads it.
function(vandrel_program_resources target)
  cmake_parse_arguments(ARG "LIBRARY" "FILE;DESCRIPTION;LEVEL;LANGUAGE;CODEPAGE" "" ${ARGN})
  set(translation)
  if(ARG_LANGUAGE)
    set(translation ${ARG_LANGUAGE} ${ARG_CODEPAGE})
  endif()
  # The four parts of the version, a missing one 0: "3.0" is 3.0.0.0.
  set(numbers)
  foreach(name MAJOR MINOR PATCH TWEAK)
    set(part "${PROJECT_VERSION_${name}}")
    if(part STREQUAL "")
      set(part 0)
    endif()
    list(APPEND numbers ${part})
  endforeach()
  if(ARG_LIBRARY)
    set(type dll)
  else()
    set(type app)
  endif()
  if(NOT WIN32)
    set(source ${CMAKE_CURRENT_BINARY_DIR}/${target}_version_block.cpp)
    add_custom_command(OUTPUT ${source}
      COMMAND vandrel-version-block ${source} ${PROJECT_VERSION} ${ARG_FILE} "${ARG_DESCRIPTION}"
              ${type} ${translation}
      DEPENDS vandrel-version-block
      COMMENT "Version block of ${ARG_FILE}"
      VERBATIM)
    target_sources(${target} PRIVATE ${source})
    return()
  endif()
  set(VANDREL_RES_FILE ${ARG_FILE})
  set(VANDREL_RES_NAME ${target})
  set(VANDREL_RES_DESCRIPTION "${ARG_DESCRIPTION}")
  # The string table's name and the translation: "040904b0" and 0x0409, 1200 for US English.
  if(ARG_LANGUAGE)
    string(TOLOWER "${ARG_LANGUAGE}" language)  # four hexadecimal digits: "040c"
    math(EXPR page "${ARG_CODEPAGE}" OUTPUT_FORMAT HEXADECIMAL)
    string(SUBSTRING "${page}" 2 -1 page)
    string(LENGTH "${page}" digits)
    math(EXPR missing "4 - ${digits}")
    string(REPEAT 0 ${missing} zeros)
    set(VANDREL_RES_TABLE "${language}${zeros}${page}")
    set(VANDREL_RES_TRANSLATION "0x${language}, ${ARG_CODEPAGE}")
    # The resource itself is filed under the language too (its primary and sub-language), as
    # a resource compiler files the resources that follow a LANGUAGE statement.
    math(EXPR primary "0x${language} & 0x3ff" OUTPUT_FORMAT HEXADECIMAL)
    math(EXPR sub "0x${language} >> 10" OUTPUT_FORMAT HEXADECIMAL)
    set(VANDREL_RES_LANGUAGE_LINE "LANGUAGE ${primary}, ${sub}")
  else()
    set(VANDREL_RES_TABLE 040904b0)
    set(VANDREL_RES_TRANSLATION "0x0409, 1200")
    set(VANDREL_RES_LANGUAGE_LINE "// US English, the resource compiler's own language.")
  endif()
  list(JOIN numbers "." VANDREL_RES_VERSION)
  list(JOIN numbers "," VANDREL_RES_COMMAS)
  if(ARG_LEVEL)
    set(VANDREL_RES_LEVEL "${ARG_LEVEL}")
  else()
    set(VANDREL_RES_LEVEL "level=\"asInvoker\" ")
  endif()
  if(ARG_LIBRARY)
    set(VANDREL_RES_TYPE VFT_DLL)
    set(VANDREL_RES_MANIFEST_LINE "// A library: no manifest.")
  else()
    set(VANDREL_RES_TYPE VFT_APP)
    set(manifest ${CMAKE_CURRENT_BINARY_DIR}/${target}.manifest)
    configure_file(${PROJECT_SOURCE_DIR}/cmake/windows/program.manifest.in ${manifest} @ONLY)
    # The manifest, and the programs' icon (scripts/make-icon.py draws it).
    set(VANDREL_RES_MANIFEST_LINE
        "1 24 \"${manifest}\"\n1 ICON \"${PROJECT_SOURCE_DIR}/cmake/windows/vandrel.ico\"")
  endif()
  set(script ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/windows/program.rc.in ${script} @ONLY)
  target_sources(${target} PRIVATE ${script})
endfunction()
