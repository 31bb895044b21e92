# The release package: `cmake --build <build folder> --target package` writes
# tarvolen-<version>-win32.zip (win64 for the 64-bit build) into the build folder, holding
# tarvolen.exe, README.txt for Windows users and SHA256SUMS. The version number comes from project()
# alone and is passed on to the version resource, the read-me and the package's name. Included by the
# top-level CMakeLists.txt after the tarvolen target exists.

# Version resource: FILEVERSION major,minor,patch,0 and the text "major.minor" with two digits of minor
# ("1.00" for 1.0.0).
string(LENGTH "${PROJECT_VERSION_MINOR}" _tarvolen_minor_digits)
if(_tarvolen_minor_digits LESS 2)
  set(TARVOLEN_VERSION_TEXT "${PROJECT_VERSION_MAJOR}.0${PROJECT_VERSION_MINOR}")
else()
  set(TARVOLEN_VERSION_TEXT "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}")
endif()
configure_file(${CMAKE_SOURCE_DIR}/resources/version.h.in ${CMAKE_BINARY_DIR}/generated/tarvolen_version.h @ONLY)
target_include_directories(tarvolen PRIVATE ${CMAKE_BINARY_DIR}/generated)

# The read-me for Windows users, with Windows line ends.
configure_file(${CMAKE_SOURCE_DIR}/resources/README-Windows.txt.in ${CMAKE_BINARY_DIR}/README-Windows.txt
  @ONLY NEWLINE_STYLE CRLF)

install(TARGETS tarvolen RUNTIME DESTINATION .)
install(FILES ${CMAKE_BINARY_DIR}/README-Windows.txt DESTINATION . RENAME README.txt)

if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(_tarvolen_platform win32)
else()
  set(_tarvolen_platform win64)
endif()
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME tarvolen)
set(CPACK_PACKAGE_VENDOR Tarvolen)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME tarvolen-${PROJECT_VERSION}-${_tarvolen_platform})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
# tarvolen-<version>-<platform>.zip.sha256 beside the zip, for publishing with the download.
set(CPACK_PACKAGE_CHECKSUM SHA256)
# After the files are staged: write SHA256SUMS and date the zip's members at the last commit. After
# the zip is written: write it again with its members in sorted order.
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/cmake/PackageStaging.cmake)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/cmake/PackageArchive.cmake)
set(CPACK_TARVOLEN_SOURCE_DIR ${CMAKE_SOURCE_DIR})
set(CPACK_TARVOLEN_CMAKE_COMMAND ${CMAKE_COMMAND})
include(CPack)
