# Windows-side tests, run by CTest through Wine in a session of their own (Xvfb, prefixes, wineserver).
set(WINE_STATE ${CMAKE_BINARY_DIR}/wine)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh ${WINE_STATE})

add_test(NAME wine.session.start COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/session.sh start ${WINE_STATE})
add_test(NAME wine.session.stop COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/session.sh stop ${WINE_STATE})
set_tests_properties(wine.session.start PROPERTIES FIXTURES_SETUP WineSession TIMEOUT 600)
set_tests_properties(wine.session.stop PROPERTIES FIXTURES_CLEANUP WineSession)

add_library(tarvolen_wintest_support STATIC wine/WinTestSupport.cpp)
target_link_libraries(tarvolen_wintest_support PUBLIC tarvolen_win32 GTest::gtest psapi)

add_executable(hold_file wine/hold_file.cpp)
target_link_options(hold_file PRIVATE -municode ${TARVOLEN_STATIC_LINK})

# Tests of one Windows-side program, each TEST a CTest test of its own. Extra arguments are CTest
# properties for all of them.
function(tarvolen_wine_tests target)
  add_executable(${target} ${ARGN})
  target_link_libraries(${target} PRIVATE tarvolen_wintest_support GTest::gtest_main)
  target_link_options(${target} PRIVATE ${TARVOLEN_STATIC_LINK})
  add_dependencies(${target} tarvolen hold_file)
  gtest_add_tests(TARGET ${target} SOURCES ${ARGN} TEST_LIST tests)
  set_tests_properties(${tests} PROPERTIES FIXTURES_REQUIRED WineSession TIMEOUT 180)
  set(${target}_TESTS ${tests} PARENT_SCOPE)
endfunction()

tarvolen_wine_tests(tarvolen_platform_tests wine/PlatformTest.cpp)
tarvolen_wine_tests(tarvolen_deletion_tests wine/DeletionModeTest.cpp)
tarvolen_wine_tests(tarvolen_window_tests wine/WindowModeTest.cpp)
tarvolen_wine_tests(tarvolen_action_tests wine/ActionTest.cpp)
tarvolen_wine_tests(tarvolen_browse_tests wine/BrowseTest.cpp)

# Tests that schedule work for the restart or restart the system must not overlap.
foreach(test IN LISTS tarvolen_platform_tests_TESTS tarvolen_deletion_tests_TESTS tarvolen_action_tests_TESTS)
  if(test MATCHES "Restart")
    set_tests_properties(${test} PROPERTIES RESOURCE_LOCK WineRestart)
  endif()
endforeach()

# The window's layout again at 144 dpi, in a prefix of its own.
add_test(NAME WindowLayoutAt144Dpi COMMAND tarvolen_window_tests --gtest_filter=ReplacerWindowLayout.*)
set_tests_properties(WindowLayoutAt144Dpi PROPERTIES FIXTURES_REQUIRED WineSession TIMEOUT 180
  ENVIRONMENT "TARVOLEN_WINE_PREFIX=prefix144;TARVOLEN_EXPECT_DPI=144")

# The executable itself: a 64-bit GUI program that needs only Windows' own DLLs.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_test(NAME pe.test_executable
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/../pe/check_pe.py $<TARGET_FILE:tarvolen> --machine amd64)
