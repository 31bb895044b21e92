# Shows that a signed release is the unsigned release of the same commit plus a signature, so that
# anyone can check a signed zip against their own build of its commit (docs/DEVELOPING.md):
#
#   cmake -D SIGNED=<signed zip> -D OWN=<zip of one's own build> -P cmake/CompareSigned.cmake
#
# The two zips must hold the same files. tarvolen.exe with its signature removed (osslsigncode
# remove-signature) must be the own build's, byte for byte; SHA256SUMS must be the own build's with
# the signed tarvolen.exe's hash in its line; every other file must be the same. Prints one line per
# file and fails when any differs. Works in a folder beside OWN that it removes when all are the same.
# -D OSSLSIGNCODE=<path> chooses the osslsigncode; without it, the one on the PATH.
foreach(_zip SIGNED OWN)
  if(NOT EXISTS "${${_zip}}")
    message(FATAL_ERROR "Give the signed zip as -D SIGNED=... and your own as -D OWN=... "
      "(${_zip}: '${${_zip}}')")
  endif()
  get_filename_component(${_zip} "${${_zip}}" ABSOLUTE)
endforeach()
if(NOT OSSLSIGNCODE)
  find_program(OSSLSIGNCODE osslsigncode REQUIRED)
endif()
get_filename_component(_work "${OWN}" DIRECTORY)
set(_work "${_work}/signed-comparison")
file(REMOVE_RECURSE "${_work}")
file(ARCHIVE_EXTRACT INPUT "${SIGNED}" DESTINATION "${_work}/signed")
file(ARCHIVE_EXTRACT INPUT "${OWN}" DESTINATION "${_work}/own")
file(GLOB _signed_files RELATIVE "${_work}/signed" "${_work}/signed/*")
file(GLOB _own_files RELATIVE "${_work}/own" "${_work}/own/*")
set(_different "")
if(NOT _signed_files STREQUAL _own_files)
  message("files: DIFFERENT (signed: ${_signed_files}; own: ${_own_files})")
  set(_different "the files")
endif()

execute_process(COMMAND "${OSSLSIGNCODE}" remove-signature -in "${_work}/signed/tarvolen.exe"
                        -out "${_work}/tarvolen.exe" RESULT_VARIABLE _result OUTPUT_QUIET)
if(NOT _result EQUAL 0)
  message(FATAL_ERROR "The signed zip's tarvolen.exe carries no signature that could be removed")
endif()
file(SHA256 "${_work}/signed/tarvolen.exe" _signed_hash)
file(SHA256 "${_work}/own/tarvolen.exe" _own_hash)
# SHA256SUMS compared byte for byte, as hexadecimal text.
string(HEX "${_own_hash}  tarvolen.exe" _own_line)
string(HEX "${_signed_hash}  tarvolen.exe" _signed_line)
file(READ "${_work}/own/SHA256SUMS" _own_sums HEX)
file(READ "${_work}/signed/SHA256SUMS" _signed_sums HEX)
string(REPLACE "${_own_line}" "${_signed_line}" _own_sums "${_own_sums}")

foreach(_file IN LISTS _own_files)
  set(_own "${_work}/own/${_file}")
  set(_signed "${_work}/signed/${_file}")
  set(_how "")
  if(_file STREQUAL "tarvolen.exe")
    set(_signed "${_work}/tarvolen.exe")
    set(_how " (signature removed)")
  endif()
  execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${_own}" "${_signed}" RESULT_VARIABLE _result)
  if(_file STREQUAL "SHA256SUMS")
    set(_how " (with the signed tarvolen.exe's hash)")
    string(COMPARE NOTEQUAL "${_own_sums}" "${_signed_sums}" _result)
  endif()
  if(_result EQUAL 0)
    message("${_file}${_how}: same")
  else()
    message("${_file}${_how}: DIFFERENT")
    list(APPEND _different ${_file})
  endif()
endforeach()
if(_different)
  message(FATAL_ERROR "The signed release is not your build plus a signature: ${_different} differ; "
    "the files are kept in ${_work}")
endif()
file(REMOVE_RECURSE "${_work}")
message("The signed release is your own build plus a signature (signed tarvolen.exe: ${_signed_hash})")
