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
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(${GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
else()
  find_package(GTest REQUIRED)
endif()

# add_unit_test(name SOURCES ... LIBS ... [LABELS ...])
# One test program, run as one ctest test. Under a cross build the test runs
# in Wine through CMAKE_CROSSCOMPILING_EMULATOR and gets the label "wine".
function(add_unit_test name)
  if(NOT BUILD_TESTING)
    return()
  endif()
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main project_options)
  add_test(NAME ${name} COMMAND ${name})
  set(labels unit ${T_LABELS})
  if(CMAKE_CROSSCOMPILING)
    list(APPEND labels wine)
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine_prefix)
  endif()
  set_tests_properties(${name} PROPERTIES LABELS "${labels}")
endfunction()

# Under a cross build every test runs in one throwaway Wine prefix (with its
# own Xvfb display) created before the first test and removed after the last.
if(CMAKE_CROSSCOMPILING AND BUILD_TESTING)
  set(WINE_DIR ${CMAKE_BINARY_DIR}/wine)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tools/wine/run.sh --dir ${WINE_DIR})
  add_test(NAME wine_prefix_setup
           COMMAND ${CMAKE_SOURCE_DIR}/tools/wine/prefix.sh setup ${WINE_DIR})
  add_test(NAME wine_prefix_teardown
           COMMAND ${CMAKE_SOURCE_DIR}/tools/wine/prefix.sh teardown ${WINE_DIR})
  set_tests_properties(wine_prefix_setup PROPERTIES FIXTURES_SETUP wine_prefix LABELS wine TIMEOUT 300)
  set_tests_properties(wine_prefix_teardown PROPERTIES FIXTURES_CLEANUP wine_prefix LABELS wine)
endif()

# add_wine_script_test(name SCRIPT path [ARGS ...])
# A shell test that drives Windows programs in the shared prefix.
function(add_wine_script_test name)
  if(NOT CMAKE_CROSSCOMPILING OR NOT BUILD_TESTING)
    return()
  endif()
  cmake_parse_arguments(T "" "SCRIPT" "ARGS" ${ARGN})
  add_test(NAME ${name} COMMAND ${T_SCRIPT} ${WINE_DIR} ${T_ARGS})
  set_tests_properties(${name} PROPERTIES
    FIXTURES_REQUIRED wine_prefix LABELS "wine" RESOURCE_LOCK "wine_desktop;wine_spooler" TIMEOUT 300)
endfunction()
