# Run by CPack after it has staged the package's files and before it zips them: signs tarvolen.exe when
# the build has a maintainer's certificate, writes SHA256SUMS (in the format of sha256sum, with Windows
# line ends like the other texts; sha256sum -c reads them) and has
# every file in the zip dated at the time of the last commit, so that the zip depends only on the
# sources and not on when it was built.

# The staging folder: CPack hands over the package's folder; without a top-level folder in the zip, that
# is where the files lie.
set(_stage "${CPACK_TEMPORARY_DIRECTORY}")
if(NOT IS_DIRECTORY "${_stage}")
  message(FATAL_ERROR "Staged package files not found in '${_stage}'")
endif()

# With a maintainer's certificate (cmake/Package.cmake): tarvolen.exe signed with a SHA-256 digest,
# named Tarvolen (the name User Account Control shows), time-stamped when a server is named. The
# password goes from the environment through a pipe to osslsigncode, on no command line and into no
# file. osslsigncode reads it as the file /dev/stdin: "-readpass -" means standard input only to
# versions after 2.5, Debian 12's, which opens "-" as a file name; a path works with both. Signed beside
# the staged file, then put in its place with the mode install() gave it.
if(CPACK_TARVOLEN_SIGN_WITH)
  set(_exe "${_stage}/tarvolen.exe")
  set(_read_password "")
  if(DEFINED ENV{TARVOLEN_SIGN_PASSWORD})
    set(_read_password COMMAND printenv TARVOLEN_SIGN_PASSWORD)
    list(APPEND CPACK_TARVOLEN_SIGN_WITH -readpass /dev/stdin)
  endif()
  if(CPACK_TARVOLEN_SIGN_TIMESTAMP_URL)
    list(APPEND CPACK_TARVOLEN_SIGN_WITH -ts "${CPACK_TARVOLEN_SIGN_TIMESTAMP_URL}")
  endif()
  file(REMOVE "${_exe}.signed")
  execute_process(${_read_password}
    COMMAND "${CPACK_TARVOLEN_OSSLSIGNCODE}" sign ${CPACK_TARVOLEN_SIGN_WITH} -h sha256 -n Tarvolen
            -in "${_exe}" -out "${_exe}.signed"
    RESULTS_VARIABLE _results)
  if(NOT _results MATCHES "^0(;0)?$")
    message(FATAL_ERROR "Could not sign tarvolen.exe (${_results})")
  endif()
  file(CHMOD "${_exe}.signed" FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
    GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  file(RENAME "${_exe}.signed" "${_exe}")
endif()

file(GLOB _files LIST_DIRECTORIES false RELATIVE "${_stage}" "${_stage}/*")
list(REMOVE_ITEM _files SHA256SUMS)
list(SORT _files)
set(_sums "")
foreach(_file IN LISTS _files)
  file(SHA256 "${_stage}/${_file}" _hash)
  string(APPEND _sums "${_hash}  ${_file}\r\n")
endforeach()
file(WRITE "${_stage}/SHA256SUMS" "${_sums}")
# The zip records the file's mode: the same as install() gives the read-me, whatever the umask.
file(CHMOD "${_stage}/SHA256SUMS" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

# The time stamp: SOURCE_DATE_EPOCH if set, else the last commit's time when the sources are a git
# checkout of their own (not merely a folder inside some other repository), else a fixed date.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(_epoch "$ENV{SOURCE_DATE_EPOCH}")
else()
  set(_epoch "")
  find_package(Git QUIET)
  if(GIT_FOUND)
    execute_process(COMMAND "${GIT_EXECUTABLE}" -C "${CPACK_TARVOLEN_SOURCE_DIR}" rev-parse --show-toplevel
      OUTPUT_VARIABLE _top OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    file(REAL_PATH "${CPACK_TARVOLEN_SOURCE_DIR}" _source)
    if(_top AND IS_DIRECTORY "${_top}")
      file(REAL_PATH "${_top}" _top)
    endif()
    if(_top STREQUAL _source)
      execute_process(COMMAND "${GIT_EXECUTABLE}" -C "${_source}" log -1 --format=%ct
        OUTPUT_VARIABLE _epoch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    endif()
  endif()
  if(NOT _epoch MATCHES "^[0-9]+$")
    set(_epoch 1704067200) # 2024-01-01 00:00:00 UTC
  endif()
endif()
# CPack gives every member of the zip this time when SOURCE_DATE_EPOCH is set in its environment. The
# zip's DOS time field holds local time, so the time zone is fixed as well.
set(ENV{SOURCE_DATE_EPOCH} "${_epoch}")
set(ENV{TZ} "UTC0")
