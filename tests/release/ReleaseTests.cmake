# THIRD-PARTY-NOTICES.txt names every library whose code the executable holds, as its link map shows.
add_test(NAME release.notices
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/check_notices.py $<TARGET_FILE:tarvolen>.map
          ${CMAKE_SOURCE_DIR}/THIRD-PARTY-NOTICES.txt ${CMAKE_AR})
# The check must catch what it exists to catch: the same notices with winpthreads' section left out.
file(READ ${CMAKE_SOURCE_DIR}/THIRD-PARTY-NOTICES.txt _tarvolen_notices)
string(REPLACE "\nLibrary: winpthreads" "\nLeft out: winpthreads" _tarvolen_notices "${_tarvolen_notices}")
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/notices-without-winpthreads.txt "${_tarvolen_notices}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/THIRD-PARTY-NOTICES.txt)
add_test(NAME release.notices_check_catches_a_library_left_out
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/check_notices.py $<TARGET_FILE:tarvolen>.map
          ${CMAKE_CURRENT_BINARY_DIR}/notices-without-winpthreads.txt ${CMAKE_AR})
set_tests_properties(release.notices_check_catches_a_library_left_out PROPERTIES
  PASS_REGULAR_EXPRESSION "winpthreads: [0-9]+ members, MISSING from the notices")

# The release package is reproducible: built twice in two folders, it comes out byte for byte the same.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(_tarvolen_release_preset win32)
else()
  set(_tarvolen_release_preset win64)
endif()
add_test(NAME release.reproducible
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/reproducible.sh ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/reproducible
          ${CMAKE_COMMAND} ${_tarvolen_release_preset})
# Two builds of their own: not beside other heavy tests.
set_tests_properties(release.reproducible PROPERTIES TIMEOUT 600 RUN_SERIAL TRUE)
