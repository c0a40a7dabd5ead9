# The setup engine programs: tamsin32 (English strings) and tamsin32-fr (French strings), and
# their compressed companion files Tam32E.ex_ and Tam32F.ex_ beside the builder.
foreach(lang en fr)
  if(lang STREQUAL "en")
    set(program tamsin32)
  else()
    set(program tamsin32-${lang})
  endif()
  add_executable(${program} ${CMAKE_CURRENT_SOURCE_DIR}/main.cpp)
  target_link_libraries(${program} PRIVATE
    vandrel_setup vandrel_setup_strings_${lang} vandrel_program_start vandrel_ui)
endforeach()

# The compressor is defined later in the tree (tools/), so the companion files are set up
# once every directory has been read.
function(vandrel_setup_companion_files)
  if(NOT TARGET vandrel-lz)
    message(STATUS "vandrel-lz not built: Tam32E.ex_ and Tam32F.ex_ are not made")
    return()
  endif()
  set(outputs)
  foreach(pair "tamsin32;Tam32E.ex_" "tamsin32-fr;Tam32F.ex_")
    list(GET pair 0 program)
    list(GET pair 1 name)
    vandrel_companion_file(${program} ${name} output)
    list(APPEND outputs ${output})
  endforeach()
  add_custom_target(tamsin32-companions ALL DEPENDS ${outputs})
  # The end-to-end cases run the compressed engine through the starter and the machine tool:
  # a test build must not run stale copies of them.
  foreach(test setup_test setup_e2e_test)
    if(TARGET ${test})
      add_dependencies(${test} tamsin32-companions vandrel-starter vandrel-machine)
    endif()
  endforeach()
endfunction()
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL vandrel_setup_companion_files)

# End-to-end cases: the real Setup.exe on fresh machine roots (tests/e2e/setup/cases/*).
if(VANDREL_TESTS AND EXISTS ${PROJECT_SOURCE_DIR}/tests/e2e/setup/setup_e2e_test.cpp)
  add_executable(e2e_recorder ${PROJECT_SOURCE_DIR}/tests/e2e/setup/recorder_main.cpp)
  set_target_properties(e2e_recorder PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  vandrel_test(setup_e2e_test SOURCES ${PROJECT_SOURCE_DIR}/tests/e2e/setup/setup_e2e_test.cpp
    DEPS vandrel_ini)
  add_dependencies(setup_e2e_test e2e_recorder tamsin32 vandrel-starter)
endif()
