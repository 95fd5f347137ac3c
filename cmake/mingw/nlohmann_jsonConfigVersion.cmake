# The version of Debian's nlohmann-json headers, read from the headers themselves.
file(STRINGS /usr/include/nlohmann/detail/abi_macros.hpp _zelto_json_version_lines
     REGEX "#define NLOHMANN_JSON_VERSION_(MAJOR|MINOR|PATCH) [0-9]+")
set(_zelto_parts "")
foreach(_part MAJOR MINOR PATCH)
  string(REGEX MATCH "NLOHMANN_JSON_VERSION_${_part} ([0-9]+)" _m "${_zelto_json_version_lines}")
  list(APPEND _zelto_parts ${CMAKE_MATCH_1})
endforeach()
list(GET _zelto_parts 0 _zelto_major)
string(REPLACE ";" "." PACKAGE_VERSION "${_zelto_parts}")
if(PACKAGE_VERSION VERSION_LESS PACKAGE_FIND_VERSION OR
   NOT _zelto_major EQUAL PACKAGE_FIND_VERSION_MAJOR)
  set(PACKAGE_VERSION_COMPATIBLE FALSE)
else()
  set(PACKAGE_VERSION_COMPATIBLE TRUE)
endif()
