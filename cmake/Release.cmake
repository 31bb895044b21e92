# How the MinGW-w64 builds of tarvolen.exe are made: optimised, lean, with the debug information in a
# file of its own beside the executable, and byte for byte the same whenever the same sources are built
# (no time stamps, no paths of the build machine). Included by the top-level CMakeLists.txt before the
# first target; tarvolen_release_executable() then finishes the executable itself.
function(tarvolen_release_executable target)
  if(TARVOLEN_MINGW_RELEASE)
    _tarvolen_release_executable(${target})
  endif()
endfunction()

set(TARVOLEN_MINGW_RELEASE OFF)
if(NOT (WIN32 AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU"))
  return()
endif()
set(TARVOLEN_MINGW_RELEASE ON)

# Debug information for every configuration; it ends up in tarvolen.exe.debug, not in the executable.
# Unused functions and data are dropped at link time. The release optimises for size: the program is
# small and interactive.
#
# The program itself, tarvolen.exe and the libraries it is made of, is built as the release in every
# optimised configuration, so that both zips hold a release: the win64 preset's RelWithDebInfo gives
# the same program as Release. The configuration decides how the rest is built: the win64 preset's
# test programs keep RelWithDebInfo's -O2, Release (the win32 preset) builds them for size too, and
# Debug builds everything unoptimised, for the debugger.
set(_tarvolen_release "$<CONFIG:Release,MinSizeRel,RelWithDebInfo>")
add_compile_options(
  "$<$<COMPILE_LANGUAGE:CXX>:-g;-ffunction-sections;-fdata-sections>"
  "$<$<AND:$<COMPILE_LANGUAGE:CXX>,$<CONFIG:Release,MinSizeRel>>:-Os>")
add_link_options(-Wl,--gc-sections)
# Nothing asks for a type at run time (no dynamic_cast, no typeid): no type information is emitted.
add_compile_options("$<$<COMPILE_LANGUAGE:CXX>:-fno-rtti>")

# No absolute paths in the objects: source and build folder both appear as ".". The build folder comes
# last so that it wins when it lies inside the source folder.
set(_tarvolen_prefix_maps -ffile-prefix-map=${CMAKE_SOURCE_DIR}=. -ffile-prefix-map=${CMAKE_BINARY_DIR}=.)
add_compile_options("$<$<COMPILE_LANGUAGE:CXX>:${_tarvolen_prefix_maps}>")

# Only a release executable links with link-time optimisation (see below); every other program that
# links the program's libraries, the tests above all, takes their objects' machine code as it is.
add_link_options(
  "$<$<AND:${_tarvolen_release},$<NOT:$<BOOL:$<TARGET_PROPERTY:TARVOLEN_LTO>>>>:-fno-lto>")

# No link time in the PE header: the time stamp field stays zero.
add_link_options(-Wl,--no-insert-timestamp)

# Python pads the finished executable (below).
find_package(Python3 REQUIRED COMPONENTS Interpreter)

function(_tarvolen_release_executable target)
  # Link-time optimisation of the release: the optimiser sees the whole program at once when it is
  # linked, inlines across source files and drops what no caller needs. It takes the program's own
  # objects, the executable's and those of the libraries it is made of; they are fat (machine code
  # beside the optimiser's form), so the test programs link the same libraries without it, as before.
  # The optimiser compiles again at link time, all of the program in one piece (it is small), so the
  # link gets what shapes the code and the debug information: -Os, -g and the file prefix maps.
  set(release "${_tarvolen_release}")
  set_property(TARGET ${target} PROPERTY TARVOLEN_LTO ON)
  _tarvolen_own_libraries(${target} libraries)
  foreach(code IN LISTS libraries ITEMS ${target})
    target_compile_options(${code} PRIVATE
      "$<$<AND:$<COMPILE_LANGUAGE:CXX>,${release}>:-Os;-flto;-ffat-lto-objects>")
  endforeach()

  # The program is built without C++ exceptions: an unexpected failure ends it through EndOnFailure
  # (platform/Failure.h), and so do the C++ runtime's own failures (platform/win32/RuntimeFailures.cpp),
  # so the runtime's exception machinery (the unwinder, its locks in winpthreads, the exception
  # classes) is never linked; release.notices fails when a piece of it comes back. The test programs
  # that link the same libraries keep exceptions for their test framework. The 32-bit program also
  # leaves out the unwind tables (.eh_frame), which only exceptions would read there; a 64-bit
  # program keeps them, as Windows walks its stack with them.
  set(no_exceptions -fno-exceptions)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    list(APPEND no_exceptions -fno-asynchronous-unwind-tables)
  endif()
  foreach(code IN LISTS libraries ITEMS ${target})
    target_compile_options(${code} PRIVATE "$<$<COMPILE_LANGUAGE:CXX>:${no_exceptions}>")
  endforeach()
  target_link_options(${target} PRIVATE ${no_exceptions})
  target_link_options(${target} PRIVATE
    "$<${release}:-flto;-flto-partition=one;-Os;-g;${_tarvolen_prefix_maps}>")

  # The link map (<name>.exe.map beside the executable): which archive members of which libraries the
  # executable holds, for the check of the third-party notices. Writing it changes nothing in the
  # executable.
  target_link_options(${target} PRIVATE "LINKER:-Map=$<TARGET_FILE:${target}>.map")
  set_property(TARGET ${target} APPEND PROPERTY ADDITIONAL_CLEAN_FILES $<TARGET_FILE:${target}>.map)

  # Split the debug information off: <name>.exe.debug keeps it (and the symbols), <name>.exe is
  # stripped and names its debug file in a .gnu_debuglink section (with the file's CRC), where gdb and
  # addr2line look for it. objcopy and strip write the current time into the PE header of what they
  # write unless SOURCE_DATE_EPOCH says otherwise; zero is what the linker wrote. Last, the executable
  # is padded to where a signature would begin (cmake/pad_executable.py), so that a signed release
  # with its signature removed is this very file.
  set(binutils ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=0)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${binutils} ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE_NAME:${target}>
            $<TARGET_FILE_NAME:${target}>.debug
    COMMAND ${binutils} ${CMAKE_STRIP} --strip-all $<TARGET_FILE_NAME:${target}>
    COMMAND ${binutils} ${CMAKE_OBJCOPY} --add-gnu-debuglink=$<TARGET_FILE_NAME:${target}>.debug
            $<TARGET_FILE_NAME:${target}>
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/cmake/pad_executable.py $<TARGET_FILE_NAME:${target}>
    WORKING_DIRECTORY $<TARGET_FILE_DIR:${target}>
    COMMENT "Splitting the debug information of ${target} off into a file of its own"
    VERBATIM)
  set_property(TARGET ${target} APPEND PROPERTY ADDITIONAL_CLEAN_FILES $<TARGET_FILE:${target}>.debug)
endfunction()

# The static libraries of the program's own that `target` links, directly or through another one.
function(_tarvolen_own_libraries target out)
  set(found "")
  get_target_property(linked ${target} LINK_LIBRARIES)
  foreach(library IN LISTS linked)
    if(TARGET ${library})
      get_target_property(type ${library} TYPE)
      get_target_property(imported ${library} IMPORTED)
      if(type STREQUAL "STATIC_LIBRARY" AND NOT imported)
        _tarvolen_own_libraries(${library} below)
        list(APPEND found ${library} ${below})
      endif()
    endif()
  endforeach()
  list(REMOVE_DUPLICATES found)
  set(${out} ${found} PARENT_SCOPE)
endfunction()
