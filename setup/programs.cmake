# The setup engine programs: tamsin32 (English strings) and tamsin32-fr (French strings), and
# their compressed companion files Tam32E.ex_ and Tam32F.ex_ beside the builder.
set(companions)
foreach(pair "en;tamsin32;Tam32E.ex_" "fr;tamsin32-fr;Tam32F.ex_")
  list(GET pair 0 lang)
  list(GET pair 1 program)
  list(GET pair 2 name)
  add_executable(${program} ${CMAKE_CURRENT_SOURCE_DIR}/main.cpp)
  target_link_libraries(${program} PRIVATE vandrel_setup vandrel_setup_strings_${lang}
    vandrel_program_start vandrel_ui vandrel_ui_window vandrel_setup_window)
  # The engine runs with the rights of Setup.exe, which starts it. Its version resource speaks
  # the language of its texts.
  if(lang STREQUAL "fr")
    set(resource DESCRIPTION "Moteur d'installation Vandrel" LANGUAGE 040c CODEPAGE 1252)
  else()
    set(resource DESCRIPTION "Vandrel setup engine")
  endif()
  vandrel_program_resources(${program} FILE Tamsin32.exe ${resource})
  # On Windows a program of the GUI subsystem: no console window opens beside its windows.
  if(WIN32)
    set_target_properties(${program} PROPERTIES WIN32_EXECUTABLE ON)
  endif()
  # The gui module the program loads when it shows windows is built with it.
  if(VANDREL_GUI AND NOT WIN32)
    add_dependencies(${program} vandrel-gui-qt)
  endif()
  vandrel_companion_file(${program} ${name} output)
  list(APPEND companions ${output})
endforeach()
add_custom_target(tamsin32-companions ALL DEPENDS ${companions})
