#!/usr/bin/env python3
"""Writes THIRD-PARTY-NOTICES.txt from the copyright files of the installed MinGW-w64 toolchain.

tarvolen.exe is linked statically, so it holds code of GCC's runtime libraries (libstdc++, libgcc) and
of the MinGW-w64 runtime (start-up code, libmingw32, libmingwex, winpthreads). The notices quote those
libraries' licences and copyright statements word for word from the files the toolchain's Debian
packages install; nothing is written from memory. Run it again after a toolchain update:

    python3 tools/third_party_notices.py > THIRD-PARTY-NOTICES.txt

The CTest test release.notices checks, per build, that every library the link map shows is named here.
"""
import subprocess
import sys

GCC_PACKAGE = "gcc-mingw-w64-base"  # the copyright file of gcc-mingw-w64-{i686,x86-64}-posix(-runtime)
MINGW_PACKAGE = "mingw-w64-common"  # the same file as mingw-w64-{i686,x86-64}-dev's


def read(package):
    with open(f"/usr/share/doc/{package}/copyright", encoding="utf-8") as file:
        return file.read()


def version(package):
    return subprocess.run(["dpkg-query", "-W", "-f=${Version}", package], capture_output=True, text=True,
                          check=True).stdout


def between(text, start, end):
    """The text from `start` up to (not including) `end`."""
    first = text.index(start)
    last = text.index(end, first)
    return text[first:last].rstrip() + "\n"


def stanza(text, files_line):
    """One stanza of a machine-readable copyright file: from its "Files:" line to the blank line."""
    first = text.index(files_line)
    last = text.find("\n\n", first)
    return text[first:last].rstrip() + "\n"


def licence(text, name):
    """A stand-alone "License: NAME" paragraph of a machine-readable copyright file."""
    first = text.index(f"\n\nLicense: {name}\n") + 2
    last = text.find("\n\n", first)
    return (text[first:last] if last >= 0 else text[first:]).rstrip() + "\n"


def section(title, source, body):
    rule = "=" * 78
    return f"{rule}\nLibrary: {title}\n{rule}\n\nFrom {source}:\n\n{body}\n"


def main():
    gcc = read(GCC_PACKAGE)
    mingw = read(MINGW_PACKAGE)
    gcc_source = f"/usr/share/doc/{GCC_PACKAGE}/copyright (package version {version(GCC_PACKAGE)})"
    mingw_source = f"/usr/share/doc/{MINGW_PACKAGE}/copyright (package version {version(MINGW_PACKAGE)})"

    gcc_terms = (between(gcc, "GCC is Copyright (C)", "The libbacktrace library") + "\n" +
                 between(gcc, "GCC RUNTIME LIBRARY EXCEPTION", "libquadmath/*.[hc]:"))

    out = sys.stdout
    out.write("""Third-party notices for tarvolen.exe
====================================

tarvolen.exe, the 32-bit and the 64-bit build alike, is linked statically. Besides Tarvolen's own code
(MIT licence, see LICENSE.txt) it holds parts of the following libraries of its compilers, GCC and
MinGW-w64 as packaged by Debian. Each library's licence and copyright notices are quoted below from the
copyright files that the compilers' packages install.

The executable also calls functions of Windows' own DLLs. It imports kernel32, user32, gdi32 and msvcrt
through import libraries, which only name those functions and carry no code, and it loads shell32,
comdlg32 and rstrtmgr from the Windows system folder when it first needs them.

""")
    out.write(section("libstdc++ (the GNU C++ library)", gcc_source,
                      "libstdc++ (libstdc++-v3) is part of GCC, under these terms:\n\n" + gcc_terms))
    out.write(section("libgcc (the GCC low-level runtime library, with crtbegin.o and crtend.o)", gcc_source,
                      "libgcc is part of GCC, under the same terms as libstdc++ above (\"GCC is Copyright\n"
                      "(C) 1986, ... Free Software Foundation, Inc.\", GNU General Public License version 3\n"
                      "or later with version 3.1 of the GCC Runtime Library Exception).\n"))
    out.write(section("MinGW-w64 runtime (start-up code, libmingw32, libmingwex, the added code of libmsvcrt)",
                      mingw_source,
                      stanza(mingw, "Files: *\n") + "\n" + stanza(mingw, "Files: mingw-w64-crt/crt/*") + "\n" +
                      licence(mingw, "public-domain")))
    out.write(section("MinGW-w64 gdtoa (number conversion in libmingwex)", mingw_source,
                      stanza(mingw, "Files: mingw-w64-crt/gdtoa/*\n") + "\n" +
                      stanza(mingw, "Files: mingw-w64-crt/gdtoa/qnan.c")))
    out.write(section("MinGW-w64 mingw_pformat (formatted output in libmingwex)", mingw_source,
                      stanza(mingw, "Files: mingw-w64-crt/misc/basename.c") + "\n" +
                      "mingw_pformat.c is also named in the gdtoa stanza above (Lucent Technologies).\n"))
    out.write(section("winpthreads (the MinGW-w64 POSIX threads library, libwinpthread)", mingw_source,
                      stanza(mingw, "Files: mingw-w64-libraries/winpthreads/*\n") + "\n" +
                      licence(mingw, "expat") + "\n" +
                      stanza(mingw, "Files: mingw-w64-libraries/winpthreads/include/pthread.h") + "\n" +
                      stanza(mingw, "Files: mingw-w64-libraries/winpthreads/src/clock.c") + "\n" +
                      stanza(mingw, "Files: mingw-w64-libraries/winpthreads/src/libgcc/dll_math.c") + "\n" +
                      licence(mingw, "BSD-3-clause")))


if __name__ == "__main__":
    main()
