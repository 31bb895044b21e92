# The program's version and copyright line, each written in one place: the version in project() in
# CMakeLists.txt, the copyright line with its year in LICENSE. From there they reach the version resource
# (generated/tarvolen_version.h), the application manifest (generated/tarvolen.exe.manifest, from
# resources/tarvolen.manifest), the read-me in the zips and the checks of the executable and the package.
# Included by the top-level CMakeLists.txt after the tarvolen target exists.

# The version resource shows "major.minor" with two digits of minor ("1.00" for 1.0.0); its numbers and
# the manifest's assembly version are major.minor.patch.0.
string(LENGTH "${PROJECT_VERSION_MINOR}" _tarvolen_minor_digits)
if(_tarvolen_minor_digits LESS 2)
  set(TARVOLEN_VERSION_TEXT "${PROJECT_VERSION_MAJOR}.0${PROJECT_VERSION_MINOR}")
else()
  set(TARVOLEN_VERSION_TEXT "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}")
endif()
set(TARVOLEN_VERSION_QUAD "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0")

file(STRINGS ${CMAKE_SOURCE_DIR}/LICENSE TARVOLEN_COPYRIGHT REGEX "^Copyright " LIMIT_COUNT 1)
if(NOT TARVOLEN_COPYRIGHT MATCHES "^Copyright \\(c\\) [0-9][0-9][0-9][0-9] ")
  message(FATAL_ERROR "LICENSE has no line \"Copyright (c) YEAR HOLDER\"")
endif()

configure_file(${CMAKE_SOURCE_DIR}/resources/version.h.in ${CMAKE_BINARY_DIR}/generated/tarvolen_version.h @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/resources/tarvolen.manifest ${CMAKE_BINARY_DIR}/generated/tarvolen.exe.manifest
  @ONLY)
target_include_directories(tarvolen PRIVATE ${CMAKE_BINARY_DIR}/generated)
# The resource compiler's dependency scan sees the header, not the files the script names.
set_property(SOURCE ${CMAKE_SOURCE_DIR}/resources/tarvolen.rc APPEND PROPERTY OBJECT_DEPENDS
  ${CMAKE_BINARY_DIR}/generated/tarvolen.exe.manifest ${CMAKE_SOURCE_DIR}/resources/tarvolen.ico)
