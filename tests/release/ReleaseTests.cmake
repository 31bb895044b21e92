# THIRD-PARTY-NOTICES.txt names every library whose code the executable holds, as its link map shows.
add_test(NAME release.notices
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/check_notices.py $<TARGET_FILE:tarvolen>.map
          ${CMAKE_SOURCE_DIR}/THIRD-PARTY-NOTICES.txt ${CMAKE_AR})
# The check must catch what it exists to catch: the same notices with libgcc's section left out.
file(READ ${CMAKE_SOURCE_DIR}/THIRD-PARTY-NOTICES.txt _tarvolen_notices)
string(REPLACE "\nLibrary: libgcc" "\nLeft out: libgcc" _tarvolen_notices "${_tarvolen_notices}")
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/notices-without-libgcc.txt "${_tarvolen_notices}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/THIRD-PARTY-NOTICES.txt)
add_test(NAME release.notices_check_catches_a_library_left_out
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/check_notices.py $<TARGET_FILE:tarvolen>.map
          ${CMAKE_CURRENT_BINARY_DIR}/notices-without-libgcc.txt ${CMAKE_AR})
set_tests_properties(release.notices_check_catches_a_library_left_out PROPERTIES
  PASS_REGULAR_EXPRESSION "libgcc: [0-9]+ members, MISSING from the notices")
# And a link map that shows the unwinder taken again, as it would be once anything throws.
add_test(NAME release.notices_check_catches_the_exception_runtime
  COMMAND sh -c "sed '/^Archive member included/a /lib/libgcc_eh.a(unwind-seh.o)' \"$1\" > planted.map &&
                 exec \"$2\" \"$3\" planted.map \"$4\" \"$5\""
          - $<TARGET_FILE:tarvolen>.map ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/check_notices.py
          ${CMAKE_SOURCE_DIR}/THIRD-PARTY-NOTICES.txt ${CMAKE_AR}
  WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
set_tests_properties(release.notices_check_catches_the_exception_runtime PROPERTIES
  PASS_REGULAR_EXPRESSION "exception runtime in the executable: libgcc_eh.a\\(unwind-seh.o\\)")
# And notices that name a DLL the executable does not import.
string(REPLACE "It imports kernel32," "It imports advapi32, kernel32," _tarvolen_notices "${_tarvolen_notices}")
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/notices-with-advapi32.txt "${_tarvolen_notices}")
add_test(NAME release.notices_check_catches_a_dll_not_imported
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/check_notices.py $<TARGET_FILE:tarvolen>.map
          ${CMAKE_CURRENT_BINARY_DIR}/notices-with-advapi32.txt ${CMAKE_AR})
set_tests_properties(release.notices_check_catches_a_dll_not_imported PROPERTIES
  PASS_REGULAR_EXPRESSION "are NOT the ones it imports")

# The release package as a Windows user receives it: its five files, Windows line ends in every text,
# the read-me in UTF-8 with its byte-order mark, the version and LICENSE's copyright line in it. Built here as a release builds it.
set(_tarvolen_zip ${CMAKE_BINARY_DIR}/tarvolen-${PROJECT_VERSION}-${_tarvolen_platform}.zip)
add_test(NAME release.package COMMAND ${CMAKE_COMMAND} --build ${CMAKE_BINARY_DIR} --target package)
set_tests_properties(release.package PROPERTIES FIXTURES_SETUP ReleasePackage)
set(_tarvolen_package_check ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/check_package.py ${_tarvolen_zip}
  --version ${PROJECT_VERSION} --license ${CMAKE_SOURCE_DIR}/LICENSE)
add_test(NAME release.package_texts COMMAND ${_tarvolen_package_check})
# The check must catch what it exists to catch: a line in LF alone, a year that is not LICENSE's, a read-me
# without its byte-order mark.
add_test(NAME release.package_check_catches_a_line_in_lf_alone COMMAND ${_tarvolen_package_check} --flaw lone_lf)
add_test(NAME release.package_check_catches_another_year COMMAND ${_tarvolen_package_check} --flaw copyright_year)
add_test(NAME release.package_check_catches_a_read_me_without_bom COMMAND ${_tarvolen_package_check} --flaw no_bom)
set_tests_properties(release.package_texts release.package_check_catches_a_line_in_lf_alone
  release.package_check_catches_another_year release.package_check_catches_a_read_me_without_bom
  PROPERTIES FIXTURES_REQUIRED ReleasePackage)

# The release package is reproducible: built twice from two git checkouts in two folders, as a release
# is built, it comes out byte for byte the same, dated at the commit's time.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(_tarvolen_release_preset win32)
else()
  set(_tarvolen_release_preset win64)
endif()
add_test(NAME release.reproducible
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/reproducible.sh ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/reproducible
          ${CMAKE_COMMAND} ${_tarvolen_release_preset} ${PROJECT_VERSION})
# Two builds of their own: not beside other heavy tests.
set_tests_properties(release.reproducible PROPERTIES TIMEOUT 600 RUN_SERIAL TRUE)

# The release signed as a maintainer signs it, in a build of its own, with a throw-away certificate
# authority made at test time (signed_release.sh). The authority accepts the signed executable's SHA-256
# signature; a copy changed in one byte and a signature of another authority fail, for that reason; the
# signed zip less its signature is this build's zip; the signed executable passes the executable checks
# and shows its first box under Wine.
# TARVOLEN_OSSLSIGNCODE chooses the osslsigncode that signs and verifies (Debian 12's 2.5 or a newer one).
find_program(TARVOLEN_OSSLSIGNCODE osslsigncode REQUIRED)
set(_signed ${CMAKE_BINARY_DIR}/signed)
add_test(NAME release.signed_package COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/signed_release.sh
  ${CMAKE_SOURCE_DIR} ${_signed} ${CMAKE_COMMAND} ${_tarvolen_release_preset}
  $<TARGET_FILE:tarvolen_deletion_tests> $<TARGET_FILE:tarvolen> ${TARVOLEN_OSSLSIGNCODE})
set_tests_properties(release.signed_package PROPERTIES FIXTURES_SETUP SignedRelease TIMEOUT 600 RUN_SERIAL TRUE)
set(_verify ${TARVOLEN_OSSLSIGNCODE} verify -CAfile ${_signed}/ca/tarvolen-ca.crt -in)
add_test(NAME release.signature_verifies COMMAND ${_verify} ${_signed}/zip/tarvolen.exe)
add_test(NAME release.signature_rejects_a_changed_byte COMMAND ${_verify} ${_signed}/changed.exe)
add_test(NAME release.signature_rejects_another_authority COMMAND ${_verify} ${_signed}/other.exe)
set_tests_properties(release.signature_verifies PROPERTIES PASS_REGULAR_EXPRESSION
  "Message digest algorithm  : SHA256.*Text description: Tarvolen.*Signature verification: ok.*Succeeded")
set_tests_properties(release.signature_rejects_a_changed_byte PROPERTIES PASS_REGULAR_EXPRESSION
  "Calculated message digest : [0-9A-F]+ +MISMATCH")
set_tests_properties(release.signature_rejects_another_authority PROPERTIES
  PASS_REGULAR_EXPRESSION "unable to get local issuer certificate" FAIL_REGULAR_EXPRESSION "MISMATCH")
add_test(NAME pe.signed_executable COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/pe/check_pe.py
  ${_signed}/zip/tarvolen.exe --signed --machine ${pe_machine} ${pe_version})
# The comparison anyone can make of a signed zip with their own, and that it sees a signed executable.
set(_signed_zip ${_signed}/build/tarvolen-${PROJECT_VERSION}-${_tarvolen_platform}.zip)
set(_compare -D OSSLSIGNCODE=${TARVOLEN_OSSLSIGNCODE} -P ${CMAKE_SOURCE_DIR}/cmake/CompareSigned.cmake)
add_test(NAME release.signed_less_its_signature_is_the_unsigned_build
  COMMAND ${CMAKE_COMMAND} -D SIGNED=${_signed_zip} -D OWN=${_tarvolen_zip} ${_compare})
add_test(NAME release.signed_comparison_catches_a_signed_own_build
  COMMAND ${CMAKE_COMMAND} -D SIGNED=${_signed_zip} -D OWN=${_signed_zip} ${_compare})
set_tests_properties(release.signed_comparison_catches_a_signed_own_build PROPERTIES
  PASS_REGULAR_EXPRESSION "tarvolen.exe \\(signature removed\\): DIFFERENT")
add_test(NAME release.signed_shows_its_first_box COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR}
  ${_signed}/run/$<TARGET_FILE_NAME:tarvolen_deletion_tests> --gtest_filter=DeletionMode.NoKeepsTheFile)
set_tests_properties(release.signature_verifies release.signature_rejects_a_changed_byte
  release.signature_rejects_another_authority pe.signed_executable
  release.signed_comparison_catches_a_signed_own_build PROPERTIES FIXTURES_REQUIRED SignedRelease)
set_tests_properties(release.signed_less_its_signature_is_the_unsigned_build PROPERTIES
  FIXTURES_REQUIRED "SignedRelease;ReleasePackage")
set_tests_properties(release.signed_shows_its_first_box PROPERTIES
  FIXTURES_REQUIRED "SignedRelease;WineSession" TIMEOUT ${WINE_TEST_TIMEOUT})
