# The start-up benchmark (tools/bench.sh): floor programs built like tarvolen.exe (same manifest, same
# static linking) and the driver that times them. Nothing here is built by default.
set(TARVOLEN_BENCH_DIR ${CMAKE_CURRENT_LIST_DIR})

function(tarvolen_bench_program target)
  add_executable(${target} EXCLUDE_FROM_ALL ${ARGN})
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/generated)
  target_link_options(${target} PRIVATE -municode ${TARVOLEN_STATIC_LINK})
endfunction()

tarvolen_bench_program(tarvolen_floor_box ${TARVOLEN_BENCH_DIR}/FloorBox.cpp ${TARVOLEN_BENCH_DIR}/Floor.rc)
tarvolen_bench_program(tarvolen_floor_window ${TARVOLEN_BENCH_DIR}/FloorWindow.cpp ${TARVOLEN_BENCH_DIR}/Floor.rc)
set_target_properties(tarvolen_floor_box tarvolen_floor_window PROPERTIES WIN32_EXECUTABLE TRUE)
# The least programs: nothing in them throws, so they carry no unwinding code, and they are stripped.
foreach(floor tarvolen_floor_box tarvolen_floor_window)
  target_compile_options(${floor} PRIVATE -fno-exceptions)
  add_custom_command(TARGET ${floor} POST_BUILD COMMAND ${CMAKE_STRIP} --strip-all $<TARGET_FILE:${floor}> VERBATIM)
endforeach()

# The driver starts the programs and finds their windows with the helpers the Windows-side tests use
# too (harness/winprobe) and, like the tests, is DPI aware, so that it sees the windows it times in real
# pixels.
tarvolen_bench_program(tarvolen_bench ${TARVOLEN_BENCH_DIR}/BenchDriver.cpp
  ${CMAKE_SOURCE_DIR}/harness/winprobe/WinProbe.cpp ${CMAKE_SOURCE_DIR}/harness/winprobe/DpiAware.rc)
target_link_libraries(tarvolen_bench PRIVATE psapi)
