# In-process tests of the real windows: a TApplication, the main window and the help window,
# built on the test thread and driven with window messages on the test display.
include_guard(GLOBAL)

add_library(kelvane_window_test_support STATIC
  ${PROJECT_SOURCE_DIR}/testkit/KelvaneWindowsTest.cpp
  ${PROJECT_SOURCE_DIR}/testkit/WindowProbes.cpp
)
target_link_libraries(kelvane_window_test_support PUBLIC kelvane_test_support)
target_compile_options(kelvane_window_test_support PRIVATE ${KELVANE_WARNING_FLAGS})

# Like kelvane_add_tests, with the program's own resources (icons, banner, manifest) linked in,
# so the windows load the very pictures and common controls the program does. The window tests
# take the display one at a time: activation and focus are shared by everything on it.
function(kelvane_add_window_tests name)
  add_executable(${name} ${ARGN} ${PROJECT_SOURCE_DIR}/tests/support/WindowTestMain.cpp
    ${PROJECT_SOURCE_DIR}/resources/Kelvane.rc)
  set_source_files_properties(${PROJECT_SOURCE_DIR}/resources/Kelvane.rc TARGET_DIRECTORY ${name}
    PROPERTIES OBJECT_DEPENDS "${KELVANE_RESOURCE_FILES}")
  target_link_libraries(${name} PRIVATE kelvane_window_test_support)
  target_compile_options(${name} PRIVATE ${KELVANE_WARNING_FLAGS})
  target_link_options(${name} PRIVATE -static)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT 60 RESOURCE_LOCK kelvane_display)
endfunction()

# The whole test program once more under code page 1252, in one process: the windows' texts must
# not depend on GBK being the ANSI code page, and every fixture must leave the next a clean slate.
# A listing run goes first, so that the program's display setting (WindowTestMain.cpp) is in place
# when the run starts.
function(kelvane_add_window_code_page_1252_run name)
  add_test(NAME ${name}.ListedFirst COMMAND ${name} --gtest_list_tests)
  set_tests_properties(${name}.ListedFirst PROPERTIES FIXTURES_SETUP ${name}.Listed TIMEOUT 60)
  add_test(NAME ${name}.UnderCodePage1252 COMMAND ${name})
  set_tests_properties(${name}.UnderCodePage1252 PROPERTIES
    ENVIRONMENT "LANG=en_US.UTF-8;LC_ALL=en_US.UTF-8;KELVANE_EXPECTED_ACP=1252;KELVANE_RUN=UnderCodePage1252" TIMEOUT 120
    FIXTURES_REQUIRED ${name}.Listed RESOURCE_LOCK kelvane_display)
endfunction()

# The tests named by `filter` once more in a Wine prefix of their own, made with `settings`
# (dpi=N, palette=NAME: tests/ui/prefix_for_run.sh) and handed `environment`, as the test
# `${name}.${label}`. It is the run made for those tests: it fails should the filter match none,
# or should any of them skip (support/TestRun.h). Only where the tests run through Wine.
function(kelvane_add_window_prefix_run name label filter environment)
  if(NOT CMAKE_CROSSCOMPILING OR NOT CMAKE_CROSSCOMPILING_EMULATOR)
    return()
  endif()
  set(prefix ${CMAKE_BINARY_DIR}/tests/wine-prefix-${label})
  set(script ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/prefix_for_run.sh)
  add_test(NAME ${name}.PrefixFor${label} COMMAND bash ${script} ${prefix} $<TARGET_FILE:${name}> ${ARGN})
  set_tests_properties(${name}.PrefixFor${label} PROPERTIES FIXTURES_SETUP ${name}.${label} TIMEOUT 180)
  add_test(NAME ${name}.RemovePrefixFor${label} COMMAND bash ${script} --remove ${prefix})
  set_tests_properties(${name}.RemovePrefixFor${label} PROPERTIES FIXTURES_CLEANUP ${name}.${label} TIMEOUT 60)
  add_test(NAME ${name}.${label} COMMAND ${name} --gtest_filter=${filter})
  set_tests_properties(${name}.${label} PROPERTIES
    ENVIRONMENT "WINEPREFIX=${prefix};KELVANE_RUN_MADE_FOR=${label};${environment}" TIMEOUT 60
    FIXTURES_REQUIRED ${name}.${label} RESOURCE_LOCK kelvane_display)
endfunction()
