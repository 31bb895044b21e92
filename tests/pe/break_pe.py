#!/usr/bin/env python3
"""Shows that check_pe.py rejects an executable for the one reason it is meant to.

Usage: break_pe.py EXE --machine i386|amd64 FLAW [check_pe.py's other options]

Writes a copy of EXE, which passes every check, with one flaw put in, runs the checker on the copy and
succeeds only when the checker fails exactly the check that guards against that flaw:
  import          an import names winmm.dll, no KnownDLL, in place of gdi32.dll
  dynamic_base    DYNAMIC_BASE cleared (no ASLR)
  nx_compat       NX_COMPAT cleared (no DEP)
  high_entropy_va HIGH_ENTROPY_VA cleared (64-bit only)
  relocations     the base relocation directory removed and the relocations marked as stripped
  copyright_year  the year of the version resource's copyright line changed to one LICENSE does not hold
  checksum        the image checksum one more than the file's
"""
import argparse
import contextlib
import io
import os
import re
import struct
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_pe  # noqa: E402

FLAG_BITS = {"dynamic_base": check_pe.DYNAMIC_BASE, "nx_compat": check_pe.NX_COMPAT,
             "high_entropy_va": check_pe.HIGH_ENTROPY_VA}
EXPECTED = {"import": "import winmm.dll is a KnownDLL", "dynamic_base": "DYNAMIC_BASE is set",
            "nx_compat": "NX_COMPAT is set", "high_entropy_va": "HIGH_ENTROPY_VA is set",
            "relocations": "relocations present", "copyright_year": "LegalCopyright is LICENSE's line",
            "checksum": "PE checksum is the file's"}


def flawed(data, flaw):
    pe = check_pe.PE(data)
    out = bytearray(data)
    if flaw == "import":
        name, rva = next((n, r) for n, r in pe.import_names() if n.lower() == "gdi32.dll")
        out[pe.offset(rva):pe.offset(rva) + len(name)] = b"winmm.dll"
    elif flaw in FLAG_BITS:
        struct.pack_into("<H", out, pe.opt + 70, pe.dll_characteristics & ~FLAG_BITS[flaw])
    elif flaw == "relocations":
        struct.pack_into("<II", out, pe.dirs_offset + 8 * check_pe.BASE_RELOCATION_DIRECTORY, 0, 0)
        struct.pack_into("<H", out, pe.coff + 18, pe.characteristics | check_pe.IMAGE_FILE_RELOCS_STRIPPED)
    elif flaw == "checksum":
        struct.pack_into("<I", out, pe.opt + 64, pe.checksum + 1)
    elif flaw == "copyright_year":
        at = data.index("Copyright (c) ".encode("utf-16-le")) + 2 * len("Copyright (c) ")
        out[at:at + 8] = "1999".encode("utf-16-le")
    if flaw != "checksum":  # the checksum of the flawed copy, which any tool that changes a file writes
        struct.pack_into("<I", out, pe.opt + 64, check_pe.image_checksum(check_pe.PE(bytes(out))))
    return bytes(out)


def main(argv):
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("exe")
    ap.add_argument("--machine", choices=sorted(check_pe.MACHINES), required=True)
    ap.add_argument("flaw", choices=sorted(EXPECTED))
    args, passed_on = ap.parse_known_args(argv)
    with open(args.exe, "rb") as fh:
        data = fh.read()
    with tempfile.TemporaryDirectory() as folder:
        # Under the original's name, which its .gnu_debuglink section refers to.
        copy = os.path.join(folder, os.path.basename(args.exe))
        with open(copy, "wb") as fh:
            fh.write(flawed(data, args.flaw))
        output = io.StringIO()
        with contextlib.redirect_stdout(output):
            status = check_pe.main([copy, "--machine", args.machine] + passed_on)
    print(output.getvalue(), end="")
    failed = [re.sub(r" \(.*", "", line[len("FAIL: "):])
              for line in output.getvalue().splitlines() if line.startswith("FAIL: ")]
    if status == 1 and failed == [EXPECTED[args.flaw]]:
        print("rejected for the intended reason: " + EXPECTED[args.flaw])
        return 0
    print("expected exactly one failed check, %r; got status %d and %r" % (EXPECTED[args.flaw], status, failed))
    return 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
