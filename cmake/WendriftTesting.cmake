# Test executables are Windows programs run under Wine (the toolchain's emulator) in a private
# prefix inside the build tree, with a private Xvfb display. Two fixtures bracket every run so
# that no wineserver or Xvfb outlives the test command, whichever tests were picked.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

set(WENDRIFT_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)

add_test(NAME wine_session_start
         COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-session.sh start ${CMAKE_BINARY_DIR})
set_tests_properties(wine_session_start PROPERTIES FIXTURES_SETUP wine TIMEOUT 180)
add_test(NAME wine_session_stop
         COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-session.sh stop ${CMAKE_BINARY_DIR})
set_tests_properties(wine_session_stop PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 60)

# A test executable that passed with cases skipped exits with this code (tools/wine-run.sh), and
# ctest reports it as skipped.
set(WENDRIFT_SKIP_CODE 77)

# wendrift_add_test(<name> SOURCES <files...> [LIBS <libs...>] [ARGS <arguments...>]
#                   [TIMEOUT <seconds>] [ALSO_ZIG_X64])
# One executable per group of related cases; GoogleTest's main; run once under Wine. A test of
# the built programs marked ALSO_ZIG_X64 runs a second time, as <name>_zig_x64, against the Zig
# compiler's x64 build of them (cmake/WendriftZigBuilds.cmake), which it finds through
# WENDRIFT_PRODUCT_DIR (tests/support/UiDriver.h, ProductDir).
function(wendrift_add_test name)
  cmake_parse_arguments(T "ALSO_ZIG_X64" "TIMEOUT" "SOURCES;LIBS;ARGS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main)
  target_link_options(${name} PRIVATE ${WENDRIFT_STATIC_RUNTIME})
  add_test(NAME ${name} COMMAND ${name} ${T_ARGS})
  math(EXPR wine_timeout "${T_TIMEOUT} - 10")
  set(environment "WINEPREFIX=${WENDRIFT_WINEPREFIX};WENDRIFT_DISPLAY_FILE=${CMAKE_BINARY_DIR}/xvfb.display;WENDRIFT_WINE_TIMEOUT=${wine_timeout};WENDRIFT_BUILD_DIR=${CMAKE_BINARY_DIR};WENDRIFT_SKIP_CODE=${WENDRIFT_SKIP_CODE}")
  set_tests_properties(${name} PROPERTIES
    FIXTURES_REQUIRED wine TIMEOUT ${T_TIMEOUT} SKIP_RETURN_CODE ${WENDRIFT_SKIP_CODE}
    ENVIRONMENT "${environment}")
  if(T_ALSO_ZIG_X64 AND WENDRIFT_ZIG_X64_DIR)
    add_test(NAME ${name}_zig_x64 COMMAND ${name} ${T_ARGS})
    set_tests_properties(${name}_zig_x64 PROPERTIES FIXTURES_REQUIRED wine TIMEOUT ${T_TIMEOUT}
      SKIP_RETURN_CODE ${WENDRIFT_SKIP_CODE}
      ENVIRONMENT "${environment};WENDRIFT_PRODUCT_DIR=${WENDRIFT_ZIG_X64_DIR}")
    add_dependencies(${name} wendrift_zig_x86_64)
  endif()
endfunction()
