# Windows-side tests, run by CTest through Wine in a session of their own (Xvfb, prefixes, wineserver).
# The 64-bit build runs on the machine's own Wine; the 32-bit build on the 32-bit runner
# (harness/runner32.sh), in a 64-bit prefix, as a 32-bit program runs on 64-bit Windows.
set(WINE_STATE ${CMAKE_BINARY_DIR}/wine)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(WINE_RUNNER runner32)
  set(WINE_TEST_TIMEOUT 600)
else()
  set(WINE_RUNNER host)
  set(WINE_TEST_TIMEOUT 180)
endif()
set(TARVOLEN_HARNESS ${CMAKE_SOURCE_DIR}/harness)
set(CMAKE_CROSSCOMPILING_EMULATOR ${TARVOLEN_HARNESS}/wine-run.sh ${WINE_RUNNER} ${WINE_STATE})

# The runner shows the sources and the build inside it; a build folder within the sources comes along.
set(WINE_SHARED_DIRS ${CMAKE_SOURCE_DIR})
cmake_path(IS_PREFIX CMAKE_SOURCE_DIR ${CMAKE_BINARY_DIR} NORMALIZE build_in_source)
if(NOT build_in_source)
  list(APPEND WINE_SHARED_DIRS ${CMAKE_BINARY_DIR})
endif()

add_test(NAME wine.session.start
  COMMAND bash ${TARVOLEN_HARNESS}/session.sh start ${WINE_RUNNER} ${WINE_STATE} ${WINE_SHARED_DIRS})
add_test(NAME wine.session.stop COMMAND bash ${TARVOLEN_HARNESS}/session.sh stop ${WINE_RUNNER} ${WINE_STATE})
# Making the 32-bit runner the first time downloads about 0.5 GB (2.5 GB on disk).
set_tests_properties(wine.session.start PROPERTIES FIXTURES_SETUP WineSession TIMEOUT 1800)
set_tests_properties(wine.session.stop PROPERTIES FIXTURES_CLEANUP WineSession)

add_library(tarvolen_wintest_support STATIC wine/WinTestSupport.cpp ${TARVOLEN_HARNESS}/winprobe/WinProbe.cpp)
target_link_libraries(tarvolen_wintest_support PUBLIC tarvolen_win32 GTest::gtest psapi)

add_executable(hold_file wine/hold_file.cpp)
target_link_options(hold_file PRIVATE -municode ${TARVOLEN_STATIC_LINK})

# Tests of one Windows-side program, each TEST a CTest test of its own. The programs are DPI aware.
function(tarvolen_wine_tests target)
  add_executable(${target} ${ARGN} ${TARVOLEN_HARNESS}/winprobe/DpiAware.rc)
  target_link_libraries(${target} PRIVATE tarvolen_wintest_support GTest::gtest_main)
  target_link_options(${target} PRIVATE ${TARVOLEN_STATIC_LINK})
  add_dependencies(${target} tarvolen hold_file)
  gtest_add_tests(TARGET ${target} SOURCES ${ARGN} TEST_LIST tests)
  set_tests_properties(${tests} PROPERTIES FIXTURES_REQUIRED WineSession TIMEOUT ${WINE_TEST_TIMEOUT})
  set(${target}_TESTS ${tests} PARENT_SCOPE)
endfunction()

tarvolen_wine_tests(tarvolen_platform_tests wine/FileKitTest.cpp wine/ShellKitTest.cpp wine/AnsiConversionTest.cpp)
tarvolen_wine_tests(tarvolen_deletion_tests wine/DeletionModeTest.cpp)
tarvolen_wine_tests(tarvolen_window_tests wine/ReplacerWindowTest.cpp)
tarvolen_wine_tests(tarvolen_action_tests wine/ActionTest.cpp)
tarvolen_wine_tests(tarvolen_browse_tests wine/BrowseButtonsTest.cpp)
set(restart_tests ${tarvolen_platform_tests_TESTS} ${tarvolen_deletion_tests_TESTS} ${tarvolen_action_tests_TESTS})
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  # A 32-bit program on 64-bit Windows: names under System32 must reach System32, not SysWOW64.
  tarvolen_wine_tests(tarvolen_wow64_tests wine/Wow64Test.cpp)
  list(APPEND restart_tests ${tarvolen_wow64_tests_TESTS})
endif()

# Tests that schedule work for the restart or restart the system must not overlap.
foreach(test IN LISTS restart_tests)
  if(test MATCHES "Restart")
    set_tests_properties(${test} PROPERTIES RESOURCE_LOCK WineRestart)
  endif()
endforeach()

# The window's layout again at 144 dpi, in a prefix of its own.
add_test(NAME WindowLayoutAt144Dpi COMMAND tarvolen_window_tests --gtest_filter=ReplacerWindowLayout.*)
set_tests_properties(WindowLayoutAt144Dpi PROPERTIES FIXTURES_REQUIRED WineSession TIMEOUT ${WINE_TEST_TIMEOUT}
  ENVIRONMENT "TARVOLEN_WINE_PREFIX=prefix144;TARVOLEN_EXPECT_DPI=144")

# Libraries planted beside a copy of the program: a stand-in that leaves a marker when it is loaded.
add_library(planted_library SHARED wine/planted_library.cpp)
set_target_properties(planted_library PROPERTIES PREFIX "")
target_link_options(planted_library PRIVATE ${TARVOLEN_STATIC_LINK})
tarvolen_wine_tests(tarvolen_planted_library_tests wine/PlantedLibraryTest.cpp)
add_dependencies(tarvolen_planted_library_tests planted_library)
# Also the stand-in for the dialog's library, which lacks its functions.
add_dependencies(tarvolen_browse_tests planted_library)

# A stand-in for the Restart Manager that names the processes holding a file, put into the prefix's
# system folder by the tests that need it. Its functions are exported by their plain names, as
# Windows' own are.
add_library(standin_rstrtmgr SHARED wine/standin_rstrtmgr.cpp)
set_target_properties(standin_rstrtmgr PROPERTIES PREFIX "")
target_link_options(standin_rstrtmgr PRIVATE ${TARVOLEN_STATIC_LINK} -Wl,--kill-at)
add_dependencies(tarvolen_deletion_tests standin_rstrtmgr)
