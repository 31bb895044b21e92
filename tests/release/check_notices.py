#!/usr/bin/env python3
"""Checks that THIRD-PARTY-NOTICES.txt names every library whose code tarvolen.exe holds.

    check_notices.py LINK_MAP NOTICES [AR]

LINK_MAP is the linker's map of tarvolen.exe (tarvolen.exe.map): it lists every archive member the
linker took and every object file it loaded. Each of them is traced to the library it comes from, and
that library must have a "Library: NAME" heading in NOTICES. A member or object of an unknown origin
fails the check too, so that a new library cannot slip in unnoticed. The Windows DLLs whose import
stubs were taken are the DLLs the executable imports: the sentence "It imports A, B and C through import
libraries" of NOTICES must name exactly those, and NOTICES names no library whose code the executable
does not hold.

The program is built without C++ exceptions, so the executable holds none of the runtime's exception
machinery: no member of the unwinder (libgcc_eh, or an unwind-*.o of libgcc), none of winpthreads,
whose locks only the exception runtime took, and none of libstdc++'s exception objects (eh_*.o, the
exception classes, the helpers that throw them). Any of them fails the check, named.

Exits 1 and lists what is missing or wrong.
"""
import os
import re
import subprocess
import sys

RUNTIME = "MinGW-w64 runtime"
GDTOA = "MinGW-w64 gdtoa"
PFORMAT = "MinGW-w64 mingw_pformat"

# Archives and objects of the compilers, by file name, and the library whose notice covers them.
LIBRARIES = {
    "libstdc++.a": "libstdc++",
    "libgcc.a": "libgcc",
    "libgcc_eh.a": "libgcc",
    "crtbegin.o": "libgcc",  # from GCC's libgcc (crtstuff)
    "crtend.o": "libgcc",
    "libpthread.a": "winpthreads",  # MinGW-w64 installs winpthreads under both names
    "libwinpthread.a": "winpthreads",
    "crt2.o": RUNTIME,  # the start-up code
    "crt2u.o": RUNTIME,
    "libmingw32.a": RUNTIME,
    "libmingwex.a": RUNTIME,
    "libmoldname.a": RUNTIME,
}

# Import libraries of Windows' own DLLs (kernel32, user32, msvcrt, ...). Their members made by dlltool
# only name a function of the DLL for the import table: a header (...h.o), a tail (...t.o) and one stub
# per function (...s00042.o). They carry no code of others and need no notice. libmsvcrt.a also holds
# members of real code that MinGW-w64 adds to the DLL's functions; those are the runtime's.
def is_import_stub(archive_name, member):
    stem = re.escape(archive_name.removesuffix(".a"))
    return re.match(rf"^{stem}(_def)?(h|t|s\d+)\.o$", member) is not None

# The C++ runtime's exception machinery, by archive and member: the unwinder, winpthreads, and
# libstdc++'s exception objects.
EXCEPTION_RUNTIME = {
    "libgcc_eh.a": re.compile(r""),
    "libgcc.a": re.compile(r"^unwind"),
    "libpthread.a": re.compile(r""),
    "libwinpthread.a": re.compile(r""),
    "libstdc++.a": re.compile(r"^(eh_\w+|\w*stdexcept|functexcept|functional|nested_exception|system_error"
                              r"|\w*ios_failure|vterminate)\.o$"),
}


def exception_runtime(taken):
    """The members of the exception machinery among those taken."""
    return sorted(f"{os.path.basename(path)}({member})" for path, member in taken
                  if member and os.path.basename(path) in EXCEPTION_RUNTIME
                  and EXCEPTION_RUNTIME[os.path.basename(path)].search(member))


# What the link-time optimiser compiles at link time (/tmp/ccXXXXXX.ltrans0.ltrans.o): only code of the
# objects it was given in its own form, which the map lists as taken like any other.
LTRANS = re.compile(r"^\w+\.ltrans\d+\.ltrans\.o$")

# Objects of MinGW-w64's libraries name their source file, e.g. ./mingw-w64-crt/gdtoa/dmisc.c; some of
# those sources carry copyright notices of their own.
SOURCE = re.compile(rb"mingw-w64-[\w./+-]+?\.c\b")


def parse_map(text):
    """(archive or object path, member or None) for everything the linker took."""
    taken = []
    section = text.split("Archive member included to satisfy reference by file (symbol)", 1)
    if len(section) == 2:
        body = re.split(r"^(?:Discarded input sections|Allocating common symbols|Memory Configuration)",
                        section[1], maxsplit=1, flags=re.M)[0]
        for line in body.splitlines():
            match = re.match(r"^(\S.*?)\(([^()]+)\)$", line)
            if match:
                taken.append((match.group(1), match.group(2)))
    for match in re.finditer(r"^LOAD (\S+\.o)$", text, flags=re.M):
        taken.append((match.group(1), None))
    return taken


def member_sources(ar, archive, member):
    """The MinGW-w64 source files an archive member names."""
    data = subprocess.run([ar, "p", archive, member], capture_output=True, check=True).stdout
    return {path.decode() for path in SOURCE.findall(data)}


def notices_for_sources(sources):
    needed = set()
    for source in sources:
        if "/gdtoa/" in source:
            needed.add(GDTOA)
        if "/mingw_pformat" in source:
            needed.update((PFORMAT, GDTOA))  # mingw_pformat.c is under both notices
    return needed


def required_libraries(taken, ar):
    """{library name: [what was taken from it]}, the things of unknown origin and the imported DLLs."""
    required = {}
    unknown = []
    imports = set()
    for path, member in taken:
        name = os.path.basename(path)
        what = f"{name}({member})" if member else name
        if name.startswith("libtarvolen_") or path.startswith("CMakeFiles/"):
            continue  # the program's own code
        if LTRANS.match(name) and not member:
            continue  # the link-time optimiser's output, made of objects listed (and checked) themselves
        libraries = set()
        if name in LIBRARIES:
            libraries.add(LIBRARIES[name])
        elif member and is_import_stub(name, member):
            imports.add(name.removeprefix("lib").removesuffix(".a").lower())
            continue  # an import stub of a Windows DLL
        elif member and name == "libmsvcrt.a":
            libraries.add(RUNTIME)
        else:
            unknown.append(what)
            continue
        if member and RUNTIME in libraries:
            libraries |= notices_for_sources(member_sources(ar, path, member))
        for library in libraries:
            required.setdefault(library, []).append(what)
    return required, unknown, imports


def named_imports(notices):
    """The DLLs the notices say the executable imports, or None without that sentence."""
    match = re.search(r"It imports (.+?) through import libraries", " ".join(notices.split()))
    return set(re.split(r", | and ", match.group(1))) if match else None


def main():
    if len(sys.argv) not in (3, 4):
        sys.exit("usage: check_notices.py LINK_MAP NOTICES [AR]")
    ar = sys.argv[3] if len(sys.argv) == 4 else "ar"
    with open(sys.argv[1], encoding="utf-8", errors="replace") as file:
        taken = parse_map(file.read())
    with open(sys.argv[2], encoding="utf-8") as file:
        notices = file.read()
    named = set(re.findall(r"^Library: (.+?)(?: \(.*)?$", notices, flags=re.M))
    if not taken:
        sys.exit(f"{sys.argv[1]}: no archive members or objects found; is it a link map?")

    required, unknown, imports = required_libraries(taken, ar)
    missing = sorted(set(required) - named)
    unlinked = sorted(named - set(required))
    machinery = exception_runtime(taken)
    for library in sorted(required):
        status = "named" if library in named else "MISSING from the notices"
        print(f"{library}: {len(required[library])} members, {status}")
    for library in missing:
        print(f"  taken from {library}: {', '.join(sorted(required[library])[:8])}")
    for what in unknown:
        print(f"of unknown origin: {what}")
    for library in unlinked:
        print(f"{library}: named in the notices, but the executable holds none of its code")
    for what in machinery:
        print(f"exception runtime in the executable: {what}")
    said = named_imports(notices)
    print(f"imported DLLs: {', '.join(sorted(imports))}; the notices say: "
          f"{', '.join(sorted(said)) if said is not None else 'nothing'}")
    if said != imports:
        print("the DLLs the notices say the executable imports are NOT the ones it imports")
    if missing or unknown or unlinked or machinery or said != imports:
        return 1
    print(f"{len(taken)} archive members and objects checked: every library is named in the notices, and "
          "none of the exception runtime is linked")
    return 0


if __name__ == "__main__":
    sys.exit(main())
