# Run by CPack after it has written the zip: writes the zip again from the same staged files, now in
# sorted order. CPack stores the files in the order in which the file system lists the staging folder,
# and that order differs between file systems. SOURCE_DATE_EPOCH and TZ, set by PackageStaging.cmake
# in this CPack run, date the members the same way.
set(_stage "${CPACK_TEMPORARY_DIRECTORY}")
file(GLOB _files LIST_DIRECTORIES false RELATIVE "${_stage}" "${_stage}/*")
list(SORT _files)
list(JOIN _files "\n" _list)
file(WRITE "${CPACK_TOPLEVEL_DIRECTORY}/package-files.txt" "${_list}\n")
foreach(_package IN LISTS CPACK_PACKAGE_FILES)
  if(_package MATCHES "\\.zip$")
    file(REMOVE "${_package}")
    execute_process(
      COMMAND "${CPACK_TARVOLEN_CMAKE_COMMAND}" -E tar cf "${_package}" --format=zip
              "--files-from=${CPACK_TOPLEVEL_DIRECTORY}/package-files.txt"
      WORKING_DIRECTORY "${_stage}" RESULT_VARIABLE _result)
    if(NOT _result EQUAL 0)
      message(FATAL_ERROR "Could not write ${_package} again")
    endif()
  endif()
endforeach()
