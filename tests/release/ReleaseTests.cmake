# The release package is reproducible: built twice in two folders, it comes out byte for byte the same.
add_test(NAME release.reproducible
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/reproducible.sh ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/reproducible
          ${CMAKE_COMMAND})
# Two builds of their own: not beside other heavy tests.
set_tests_properties(release.reproducible PROPERTIES TIMEOUT 600 RUN_SERIAL TRUE)
