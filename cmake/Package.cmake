# The release package: `cmake --build <build folder> --target package` writes
# tarvolen-<version>-win32.zip (win64 for the 64-bit build) into the build folder, holding
# tarvolen.exe, README.txt for Windows users of that build, LICENSE.txt, THIRD-PARTY-NOTICES.txt and
# SHA256SUMS. The version number comes from project()
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

# The read-me for Windows users, one template for both builds: what differs between them is set here.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(_tarvolen_platform win32)
  set(TARVOLEN_README_BITS 32)
  set(TARVOLEN_README_64BIT_WINDOWS [=[
tarvolen.exe is a 32-bit program, but it acts on exactly the path you give it:
C:\Windows\System32\x.dll means the file in System32, not the one in SysWOW64,
now and at the restart alike. The file-open dialog of the "..." buttons shows
Windows' view for 32-bit programs, where System32 lists the files of SysWOW64;
to pick a file of the real System32, type its path.]=])
else()
  set(_tarvolen_platform win64)
  set(TARVOLEN_README_BITS 64)
  set(TARVOLEN_README_64BIT_WINDOWS [=[
tarvolen.exe is a 64-bit program: like every 64-bit program it sees the
folders of Windows as they are, C:\Windows\System32 in the file-open dialog of
the "..." buttons as well as in the paths you type.]=])
endif()
set(TARVOLEN_README_TITLE "Tarvolen ${PROJECT_VERSION} (${TARVOLEN_README_BITS}-bit)")
string(LENGTH "${TARVOLEN_README_TITLE}" _tarvolen_title_length)
string(REPEAT "=" ${_tarvolen_title_length} TARVOLEN_README_TITLE_LINE)
# With Windows line ends, like the licence and the notices.
configure_file(${CMAKE_SOURCE_DIR}/resources/README-Windows.txt.in ${CMAKE_BINARY_DIR}/README-Windows.txt
  @ONLY NEWLINE_STYLE CRLF)
foreach(_tarvolen_text LICENSE THIRD-PARTY-NOTICES)
  set(_tarvolen_source ${CMAKE_SOURCE_DIR}/${_tarvolen_text})
  if(_tarvolen_text STREQUAL "THIRD-PARTY-NOTICES")
    string(APPEND _tarvolen_source .txt)
  endif()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_tarvolen_source})
  file(READ ${_tarvolen_source} _tarvolen_content)
  string(REPLACE "\n" "\r\n" _tarvolen_content "${_tarvolen_content}")
  set(_tarvolen_output ${CMAKE_BINARY_DIR}/package/${_tarvolen_text}.txt)
  set(_tarvolen_old "")
  if(EXISTS ${_tarvolen_output})
    file(READ ${_tarvolen_output} _tarvolen_old)
  endif()
  if(NOT _tarvolen_old STREQUAL _tarvolen_content)
    file(WRITE ${_tarvolen_output} "${_tarvolen_content}")
  endif()
endforeach()

install(TARGETS tarvolen RUNTIME DESTINATION .)
install(FILES ${CMAKE_BINARY_DIR}/README-Windows.txt DESTINATION . RENAME README.txt)
install(FILES ${CMAKE_BINARY_DIR}/package/LICENSE.txt ${CMAKE_BINARY_DIR}/package/THIRD-PARTY-NOTICES.txt
  DESTINATION .)
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
