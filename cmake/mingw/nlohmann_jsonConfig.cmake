# nlohmann-json for the Windows cross build: Debian's headers copied into the
# build tree, so that the compiler never sees the build machine's
# /usr/include (its C library headers are not the target's).
if(NOT TARGET nlohmann_json::nlohmann_json)
  set(_zelto_json_include ${CMAKE_BINARY_DIR}/cross-include)
  if(NOT EXISTS ${_zelto_json_include}/nlohmann/json.hpp)
    file(COPY /usr/include/nlohmann DESTINATION ${_zelto_json_include})
  endif()
  add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
  set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES ${_zelto_json_include})
endif()
set(nlohmann_json_FOUND TRUE)
