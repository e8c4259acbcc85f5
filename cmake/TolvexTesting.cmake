# tolvex_add_test(<name> SOURCES <files...> LIBS <targets...> [GUI | X11] [LABELS <labels...>]
#                 [TIMEOUT <seconds>])
#
# One Qt Test executable per class or feature. Tests without GUI are labelled "headless" and
# are the ones the sanitizer build runs; GUI tests run on the offscreen platform unless a test
# sets QT_QPA_PLATFORM itself (the end-to-end tests run under Xvfb). X11 tests are GUI tests that
# talk to an X server: each gets an Xvfb server of its own.
function(tolvex_add_test name)
  cmake_parse_arguments(ARG "GUI;X11" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/bin)
  set(command ${name})
  if(ARG_X11)
    set(command xvfb-run --auto-servernum "--server-args=-screen 0 1024x768x24 -nolisten tcp -noreset"
        $<TARGET_FILE:${name}>)
    set(labels gui ${ARG_LABELS})
    set(env "QT_QPA_PLATFORM=xcb")
  elseif(ARG_GUI)
    set(labels gui ${ARG_LABELS})
    set(env "QT_QPA_PLATFORM=offscreen")
  else()
    set(labels headless ${ARG_LABELS})
    set(env "QT_QPA_PLATFORM=minimal")
  endif()
  add_test(NAME ${name} COMMAND ${command})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  # Qt Test counts a skipped part (one that needs root or loop devices) as passed: a run that
  # skipped some part and failed none is shown as skipped. CI runs as root where every part can
  # run, so there a skip is a failure. Output after the summary (a sanitizer's) keeps the status.
  if("$ENV{CI}" STREQUAL "true")
    set_tests_properties(${name} PROPERTIES FAIL_REGULAR_EXPRESSION "\nSKIP   :")
  else()
    set_tests_properties(${name} PROPERTIES SKIP_REGULAR_EXPRESSION
      "Totals: [0-9]+ passed, 0 failed, [1-9][0-9]* skipped[^\n]*\n[*]+ Finished testing of [^\n]*\n?$")
  endif()
  set_tests_properties(${name} PROPERTIES
    LABELS "${labels}"
    TIMEOUT ${ARG_TIMEOUT}
    ENVIRONMENT "${env};TOLVEX_BIN_DIR=${TOLVEX_BIN_DIR};TOLVEX_SOURCE_DIR=${PROJECT_SOURCE_DIR};TOLVEX_BUILD_DIR=${CMAKE_BINARY_DIR}")
endfunction()
