# Compiler settings shared by every target of the tree. Warnings are errors
# when CMAKE_COMPILE_WARNING_AS_ERROR is on, as in every preset of
# CMakePresets.json (so in CI); a configure without a preset leaves it off.
option(SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

add_library(project_options INTERFACE)
target_compile_features(project_options INTERFACE cxx_std_20)
target_compile_options(project_options INTERFACE
  -Wall -Wextra -Wshadow -Wconversion -Wno-sign-conversion
  $<$<COMPILE_LANGUAGE:CXX>:-Wnon-virtual-dtor -Wold-style-cast>)

if(SANITIZE)
  if(WIN32)
    message(FATAL_ERROR "Sanitizers are for the native build only")
  endif()
  target_compile_options(project_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(project_options INTERFACE -fsanitize=address,undefined)
endif()
