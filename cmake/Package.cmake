# The release package: `cmake --build <build folder> --target package` writes
# tarvolen-<version>-win32.zip (win64 for the 64-bit build) into the build folder, holding
# tarvolen.exe, README.txt for Windows users of that build, LICENSE.txt, THIRD-PARTY-NOTICES.txt and
# SHA256SUMS, every text file with Windows line ends. The version and the copyright line come from
# cmake/Version.cmake, included before this file.

# The read-me for Windows users, one template for both builds: what differs between them is set here.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(_tarvolen_platform win32)
  set(TARVOLEN_README_BITS 32)
else()
  set(_tarvolen_platform win64)
  set(TARVOLEN_README_BITS 64)
endif()
set(TARVOLEN_README_TITLE "Tarvolen ${PROJECT_VERSION} (${TARVOLEN_README_BITS}-bit)")
string(LENGTH "${TARVOLEN_README_TITLE}" _tarvolen_title_length)
string(REPEAT "=" ${_tarvolen_title_length} TARVOLEN_README_TITLE_LINE)
# The texts of the zip with Windows line ends on every line, the read-me's substituted paragraphs too.
# Each is written only when its content changes, so that an unchanged text does not repackage.
function(_tarvolen_windows_text content output)
  string(REPLACE "\r\n" "\n" content "${content}")
  string(REPLACE "\n" "\r\n" content "${content}")
  set(old "")
  if(EXISTS ${output})
    file(READ ${output} old)
  endif()
  if(NOT old STREQUAL content)
    file(WRITE ${output} "${content}")
  endif()
endfunction()
set(_tarvolen_readme_template ${CMAKE_SOURCE_DIR}/resources/README-Windows.txt.in)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_tarvolen_readme_template}
  ${CMAKE_SOURCE_DIR}/LICENSE ${CMAKE_SOURCE_DIR}/THIRD-PARTY-NOTICES.txt)
file(READ ${_tarvolen_readme_template} _tarvolen_content)
string(CONFIGURE "${_tarvolen_content}" _tarvolen_content @ONLY)
# The read-me opens with UTF-8's byte-order mark: Notepad before Windows 10 version 1903 reads a UTF-8 file
# without one in the ANSI code page, and its umlauts come out wrong.
string(ASCII 239 187 191 _tarvolen_utf8_bom)
_tarvolen_windows_text("${_tarvolen_utf8_bom}${_tarvolen_content}" ${CMAKE_BINARY_DIR}/package/README.txt)
file(READ ${CMAKE_SOURCE_DIR}/LICENSE _tarvolen_content)
_tarvolen_windows_text("${_tarvolen_content}" ${CMAKE_BINARY_DIR}/package/LICENSE.txt)
file(READ ${CMAKE_SOURCE_DIR}/THIRD-PARTY-NOTICES.txt _tarvolen_content)
_tarvolen_windows_text("${_tarvolen_content}" ${CMAKE_BINARY_DIR}/package/THIRD-PARTY-NOTICES.txt)

install(TARGETS tarvolen RUNTIME DESTINATION .)
install(FILES ${CMAKE_BINARY_DIR}/package/README.txt ${CMAKE_BINARY_DIR}/package/LICENSE.txt
  ${CMAKE_BINARY_DIR}/package/THIRD-PARTY-NOTICES.txt DESTINATION .)
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

# A maintainer's code-signing certificate (docs/DEVELOPING.md, "Signing a release"): with one, the
# tarvolen.exe of the zip is signed when it is packed (cmake/PackageStaging.cmake); bin/tarvolen.exe
# stays the unsigned build. The password is never a cache variable, as the cache is a file of the
# build folder: the package step reads it from the environment (TARVOLEN_SIGN_PASSWORD).
set(TARVOLEN_SIGN_PKCS12 "" CACHE FILEPATH "PKCS#12 file holding the code-signing certificate and its key")
set(TARVOLEN_SIGN_CERT "" CACHE FILEPATH "Code-signing certificate (PEM or DER, its chain after it)")
set(TARVOLEN_SIGN_KEY "" CACHE FILEPATH "Private key of TARVOLEN_SIGN_CERT")
set(TARVOLEN_SIGN_TIMESTAMP_URL "" CACHE STRING "RFC 3161 time-stamp server the signature is stamped by")
if(DEFINED TARVOLEN_SIGN_PASSWORD OR DEFINED CACHE{TARVOLEN_SIGN_PASSWORD})
  unset(TARVOLEN_SIGN_PASSWORD CACHE)
  message(FATAL_ERROR "TARVOLEN_SIGN_PASSWORD must not be a cache variable: set it in the environment of "
    "the package build")
endif()
if(TARVOLEN_SIGN_PKCS12 OR TARVOLEN_SIGN_CERT OR TARVOLEN_SIGN_KEY)
  if(TARVOLEN_SIGN_PKCS12)
    set(_tarvolen_sign_files ${TARVOLEN_SIGN_PKCS12})
    set(CPACK_TARVOLEN_SIGN_WITH -pkcs12 ${TARVOLEN_SIGN_PKCS12})
  else()
    set(_tarvolen_sign_files ${TARVOLEN_SIGN_CERT} ${TARVOLEN_SIGN_KEY})
    set(CPACK_TARVOLEN_SIGN_WITH -certs ${TARVOLEN_SIGN_CERT} -key ${TARVOLEN_SIGN_KEY})
  endif()
  if(TARVOLEN_SIGN_PKCS12 AND (TARVOLEN_SIGN_CERT OR TARVOLEN_SIGN_KEY) OR NOT (TARVOLEN_SIGN_PKCS12 OR
     (TARVOLEN_SIGN_CERT AND TARVOLEN_SIGN_KEY)))
    message(FATAL_ERROR "Sign with TARVOLEN_SIGN_PKCS12 alone, or with TARVOLEN_SIGN_CERT and "
      "TARVOLEN_SIGN_KEY")
  endif()
  foreach(_tarvolen_file IN LISTS _tarvolen_sign_files)
    if(NOT IS_ABSOLUTE "${_tarvolen_file}" OR NOT EXISTS "${_tarvolen_file}")
      message(FATAL_ERROR "Signing: ${_tarvolen_file} is no absolute path of an existing file")
    endif()
  endforeach()
  find_program(TARVOLEN_OSSLSIGNCODE osslsigncode REQUIRED)
  set(CPACK_TARVOLEN_OSSLSIGNCODE ${TARVOLEN_OSSLSIGNCODE})
  set(CPACK_TARVOLEN_SIGN_TIMESTAMP_URL ${TARVOLEN_SIGN_TIMESTAMP_URL})
endif()
include(CPack)
