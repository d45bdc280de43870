# libFuzzer targets, built with clang when FUZZ is on (configure with
# CC=clang CXX=clang++ -DFUZZ=ON -DSANITIZE=ON). Each target is also a ctest
# test labelled "fuzz" that fuzzes for a bounded time from its committed
# seed corpus; new inputs go to a scratch corpus in the build tree.
option(FUZZ "Build the libFuzzer targets (clang only)" OFF)

if(FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "FUZZ needs clang")
  endif()
  target_compile_options(project_options INTERFACE -fsanitize=fuzzer-no-link)
endif()

# add_fuzz_target(name SOURCES ... LIBS ... CORPUS dir [SECONDS n])
function(add_fuzz_target name)
  cmake_parse_arguments(F "" "CORPUS;SECONDS" "SOURCES;LIBS" ${ARGN})
  if(NOT FUZZ)
    return()
  endif()
  if(NOT F_SECONDS)
    set(F_SECONDS 60)
  endif()
  add_executable(${name} ${F_SOURCES})
  target_link_libraries(${name} PRIVATE ${F_LIBS} project_options)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set(scratch ${CMAKE_BINARY_DIR}/fuzz-corpus/${name})
  file(MAKE_DIRECTORY ${scratch})
  add_test(NAME ${name}
           COMMAND ${name} -max_total_time=${F_SECONDS} -timeout=10 -rss_limit_mb=2048
                   -artifact_prefix=${CMAKE_BINARY_DIR}/fuzz-artifacts-
                   ${scratch} ${F_CORPUS})
  math(EXPR limit "${F_SECONDS} + 120")
  set_tests_properties(${name} PROPERTIES LABELS fuzz TIMEOUT ${limit})
endfunction()
