#!/usr/bin/env python3
"""Writes THIRD-PARTY-NOTICES.txt from the copyright files of the installed MinGW-w64 toolchain.

tarvolen.exe is linked statically, so it holds code of GCC's low-level runtime library (libgcc) and of
the MinGW-w64 runtime (start-up code, libmingw32, libmingwex); built without C++ exceptions, it holds
nothing of libstdc++ or winpthreads. The notices quote those
libraries' licences and copyright statements word for word from the files the toolchain's Debian
packages install; nothing is written from memory. The Windows libraries it names as loaded at run time
are those of the program's table of bound functions (platform/win32/Libraries.h). Run it again after a
toolchain update or a change of that table's libraries:

    python3 tools/third_party_notices.py > THIRD-PARTY-NOTICES.txt

The CTest test release.notices checks, per build, that every library the link map shows is named here,
and that every library named here is one the link map shows.
"""
import os
import re
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

GCC_PACKAGE = "gcc-mingw-w64-base"  # the copyright file of gcc-mingw-w64-{i686,x86-64}-posix(-runtime)
MINGW_PACKAGE = "mingw-w64-common"  # the same file as mingw-w64-{i686,x86-64}-dev's


def read(package):
    with open(f"/usr/share/doc/{package}/copyright", encoding="utf-8") as file:
        return file.read()


def version(package):
    return subprocess.run(["dpkg-query", "-W", "-f=${Version}", package], capture_output=True, text=True,
                          check=True).stdout


def loaded_at_run_time():
    """The libraries of the table of bound functions, in its order, but kernel32, which the program imports."""
    with open(os.path.join(ROOT, "platform", "win32", "Libraries.h"), encoding="utf-8") as file:
        libraries = re.findall(r"^\s*F\(\s*\w+\s*,\s*(\w+)\s*,", file.read(), flags=re.M)
    names = [name for name in dict.fromkeys(libraries) if name != "kernel32"]
    return ", ".join(names[:-1]) + " and " + names[-1] if len(names) > 1 else "".join(names)


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
    out.write(f"""Third-party notices for tarvolen.exe
====================================

tarvolen.exe, the 32-bit and the 64-bit build alike, is linked statically. Besides Tarvolen's own code
(MIT licence, see LICENSE.txt) it holds parts of the following libraries of its compilers, GCC and
MinGW-w64 as packaged by Debian. Each library's licence and copyright notices are quoted below from the
copyright files that the compilers' packages install.

The executable also calls functions of Windows' own DLLs. It imports kernel32, user32, gdi32 and msvcrt
through import libraries, which only name those functions and carry no code, and it loads
{loaded_at_run_time()} from the Windows system folder when it first needs them.

""")
    out.write(section("libgcc (the GCC low-level runtime library, with crtbegin.o and crtend.o)", gcc_source,
                      "libgcc is part of GCC, under these terms:\n\n" + gcc_terms))
    out.write(section("MinGW-w64 runtime (start-up code, libmingw32, libmingwex, the added code of libmsvcrt)",
                      mingw_source,
                      stanza(mingw, "Files: *\n") + "\n" + stanza(mingw, "Files: mingw-w64-crt/crt/*") + "\n" +
                      licence(mingw, "public-domain")))


if __name__ == "__main__":
    main()
