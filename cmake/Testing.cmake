# GoogleTest for both targets. Natively Debian's packaged libraries are used;
# for Windows the sources Debian ships in /usr/src/googletest are cross-built.
include(CTest)
# A fuzzing build builds and runs only the fuzz targets.
if(FUZZ)
  set(BUILD_TESTING OFF)
endif()

if(NOT BUILD_TESTING)
elseif(CMAKE_CROSSCOMPILING)
  set(GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(${GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  # Warnings in GoogleTest's own sources are not ours to fix.
  set_target_properties(gtest gtest_main PROPERTIES COMPILE_WARNING_AS_ERROR OFF)
else()
  find_package(GTest REQUIRED)
endif()

# Parts of the shared Wine prefix that tests must not use at the same time:
# its desktop (windows, focus, message boxes) and its print spooler (the
# Spooler service and the printers it keeps). A test that uses one holds the
# ctest resource lock "wine_<part>", so "ctest -j" never runs two users of a
# part together. Every test that needs the demo package (printers) or
# installs it uses the spooler, whether it says so or not.
set(WINE_PARTS desktop spooler)

# wine_test_uses(test part...)
# Declares that a test of the cross build uses those parts of the prefix.
# The locks are set at the end of the test's directory, after any
# set_tests_properties there, from everything the test was declared to use
# and the fixtures it needs or sets up.
function(wine_test_uses name)
  foreach(part IN LISTS ARGN)
    if(NOT part IN_LIST WINE_PARTS)
      message(FATAL_ERROR "wine_test_uses(${name}): unknown part \"${part}\" (${WINE_PARTS})")
    endif()
  endforeach()
  set_property(TEST ${name} APPEND PROPERTY WINE_USES ${ARGN})
  # The name is written into the deferred call now; a plain ${name} would be
  # read only when the call runs, outside this function.
  cmake_language(EVAL CODE "cmake_language(DEFER CALL _wine_test_locks [[${name}]])")
endfunction()

function(_wine_test_locks name)
  get_property(uses TEST ${name} PROPERTY WINE_USES)
  get_property(needs TEST ${name} PROPERTY FIXTURES_REQUIRED)
  get_property(sets_up TEST ${name} PROPERTY FIXTURES_SETUP)
  if("demo_package" IN_LIST needs OR "demo_package" IN_LIST sets_up)
    list(APPEND uses spooler)
  endif()
  get_property(locks TEST ${name} PROPERTY RESOURCE_LOCK)
  foreach(part IN LISTS uses)
    list(APPEND locks wine_${part})
  endforeach()
  if(locks)
    list(REMOVE_DUPLICATES locks)
    set_property(TEST ${name} PROPERTY RESOURCE_LOCK ${locks})
  endif()
endfunction()

# add_unit_test(name SOURCES ... LIBS ... [LABELS ...] [USES part...])
# One test program, run as one ctest test. Under a cross build the test runs
# in Wine through CMAKE_CROSSCOMPILING_EMULATOR, gets the label "wine" and
# holds the locks of the parts of the prefix it USES (see wine_test_uses).
function(add_unit_test name)
  if(NOT BUILD_TESTING)
    return()
  endif()
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS;USES" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main project_options)
  add_test(NAME ${name} COMMAND ${name})
  set(labels unit ${T_LABELS})
  if(CMAKE_CROSSCOMPILING)
    list(APPEND labels wine)
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine_prefix)
    wine_test_uses(${name} ${T_USES})
  endif()
  set_tests_properties(${name} PROPERTIES LABELS "${labels}")
endfunction()

# Under a cross build every test runs in one throwaway Wine prefix (with its
# own Xvfb display) created before the first test and removed after the last.
if(CMAKE_CROSSCOMPILING AND BUILD_TESTING)
  set(WINE_DIR ${CMAKE_BINARY_DIR}/wine)
  # The demo machine of the tests that press Uninstall (demo/CMakeLists.txt).
  set(DEMO_PAGES_DIR ${CMAKE_BINARY_DIR}/wine-pages)
  # The demo machine of the unattended removal.
  set(DEMO_QUIET_DIR ${CMAKE_BINARY_DIR}/wine-quiet)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tools/wine/run.sh --dir ${WINE_DIR})
  add_test(NAME wine_prefix_setup
           COMMAND ${CMAKE_SOURCE_DIR}/tools/wine/prefix.sh setup ${WINE_DIR})
  add_test(NAME wine_prefix_teardown
           COMMAND ${CMAKE_SOURCE_DIR}/tools/wine/prefix.sh teardown ${WINE_DIR})
  set_tests_properties(wine_prefix_setup PROPERTIES FIXTURES_SETUP wine_prefix LABELS wine TIMEOUT 300)
  set_tests_properties(wine_prefix_teardown PROPERTIES FIXTURES_CLEANUP wine_prefix LABELS wine)
endif()

# add_wine_script_test(name SCRIPT path [DIR wine dir] [ARGS ...] [USES part...])
# A shell test that drives Windows programs in the shared prefix, or in the
# prefix of DIR. It uses the desktop and the spooler unless USES names the
# parts it uses (a bare USES: none).
function(add_wine_script_test name)
  if(NOT CMAKE_CROSSCOMPILING OR NOT BUILD_TESTING)
    return()
  endif()
  cmake_parse_arguments(T "" "SCRIPT;DIR" "ARGS;USES" ${ARGN})
  if(NOT T_DIR)
    set(T_DIR ${WINE_DIR})
  endif()
  if(NOT DEFINED T_USES AND NOT "USES" IN_LIST T_KEYWORDS_MISSING_VALUES)
    set(T_USES ${WINE_PARTS})
  endif()
  add_test(NAME ${name} COMMAND ${T_SCRIPT} ${T_DIR} ${T_ARGS})
  set_tests_properties(${name} PROPERTIES
    FIXTURES_REQUIRED wine_prefix LABELS "wine" TIMEOUT 300)
  wine_test_uses(${name} ${T_USES})
endfunction()
