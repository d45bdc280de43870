# nlohmann/json, from Debian's header-only nlohmann-json3-dev, as the target
# nlohmann_json::nlohmann_json in every build.
#
# Natively Debian's CMake package provides the target. The cross build's
# toolchain file confines header search to the mingw root, where the
# package is not, so the header is looked up on the host; but the host's
# include directory must not reach the mingw compiler (glibc's headers would
# shadow mingw's), so the target's include directory is a folder in the
# build tree holding nothing but a link to the host's nlohmann folder.
if(TARGET nlohmann_json::nlohmann_json)
  return()
endif()

if(NOT CMAKE_CROSSCOMPILING)
  find_package(nlohmann_json 3.10 REQUIRED)
  return()
endif()

find_path(NLOHMANN_JSON_HOST_INCLUDE_DIR nlohmann/json.hpp
  PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED
  DOC "Host directory holding nlohmann/json.hpp (package nlohmann-json3-dev)")
set(nlohmann_json_include ${CMAKE_BINARY_DIR}/nlohmann_json/include)
file(MAKE_DIRECTORY ${nlohmann_json_include})
file(CREATE_LINK ${NLOHMANN_JSON_HOST_INCLUDE_DIR}/nlohmann ${nlohmann_json_include}/nlohmann
     SYMBOLIC)
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
  INTERFACE_INCLUDE_DIRECTORIES ${nlohmann_json_include})
