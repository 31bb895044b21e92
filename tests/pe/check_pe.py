#!/usr/bin/env python3
"""Static checks on a built tarvolen.exe.

Usage: check_pe.py EXE [--machine i386|amd64] [--signed] --version X.Y.Z --version-text TEXT --license LICENSE

Besides the file's structure it checks that the executable is a lean, reproducible release: no debug
sections (they live in EXE.debug, named by a .gnu_debuglink section), no link time stamp, an image
checksum that is the file's, and a size of at most 72 KiB for i386 and 80 KiB for amd64 (less a
signature), which it prints. It imports KnownDLLs only, which Windows takes from its own folder alone, none of the
libraries it binds at run time (the table of platform/win32/Libraries.h), and names none of the shell's
functions that delete files or recycle them. The loader can place it anywhere and keep its data from
running (ASLR and DEP). Its version resource and manifest carry the project's version, and its copyright
line is LICENSE's. It carries no signature, or with --signed one Authenticode signature where Windows
looks for it.

Prints one "ok: ..." or "FAIL: ..." line per check and exits 1 if any
check failed. Reads the PE file directly; needs nothing beyond Python.
"""
import argparse
import os
import re
import struct
import sys
import xml.etree.ElementTree as ET

MACHINES = {"i386": (0x14C, 0x10B), "amd64": (0x8664, 0x20B)}
IMAGE_FILE_RELOCS_STRIPPED = 0x0001
# DllCharacteristics: ASLR with 64-bit entropy, ASLR at all, DEP.
HIGH_ENTROPY_VA, DYNAMIC_BASE, NX_COMPAT = 0x0020, 0x0040, 0x0100
SECURITY_DIRECTORY, BASE_RELOCATION_DIRECTORY = 4, 5
RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24
IDI_TARVOLEN = 1
# The KnownDLLs of Windows 10 and 11 (HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\KnownDLLs,
# less the WoW64 emulator's own), and ntdll, which the system maps into every process first. Windows
# loads these from the system folder only; any other library it looks for in the program's folder
# first. kernel32, user32, gdi32 and msvcrt are KnownDLLs on Windows 7 as well.
KNOWN_DLLS = {
    "advapi32.dll", "clbcatq.dll", "combase.dll", "comdlg32.dll", "coml2.dll", "difxapi.dll",
    "gdi32.dll", "gdiplus.dll", "imagehlp.dll", "imm32.dll", "kernel32.dll", "msctf.dll",
    "msvcrt.dll", "normaliz.dll", "nsi.dll", "ole32.dll", "oleaut32.dll", "psapi.dll",
    "rpcrt4.dll", "sechost.dll", "setupapi.dll", "shcore.dll", "shell32.dll", "shlwapi.dll",
    "user32.dll", "wldap32.dll", "ws2_32.dll", "ntdll.dll",
}
# The program's table of the functions it binds at run time.
LIBRARIES_H = os.path.join(os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))),
                           "platform", "win32", "Libraries.h")


def late_bound_dlls():
    """The table's libraries, loaded by full path when first needed, so they must not be imported; all but
    kernel32, which every process has before its first statement."""
    with open(LIBRARIES_H, encoding="utf-8") as fh:
        table = fh.read()
    return {library + ".dll" for library in re.findall(r"^\s*F\(\s*\w+\s*,\s*(\w+)\s*,", table, flags=re.M)} - {
        "kernel32.dll"}


LATE_BOUND_DLLS = late_bound_dlls()
# The shell's functions that delete files or put them into the Recycle Bin (SHFileOperationA and W), and
# the call that makes its IFileOperation: the executable names none of them, to import or to bind.
SHELL_DELETION = [b"SHFileOperation", b"CoCreateInstance"]
GERMAN = 0x0407
MAX_SIZE = {"i386": 72 * 1024, "amd64": 80 * 1024}


class PE:
    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ" or len(data) < 0x40:
            raise ValueError("no MZ header")
        self.pe_off = struct.unpack_from("<I", data, 0x3C)[0]
        if data[self.pe_off:self.pe_off + 4] != b"PE\0\0":
            raise ValueError("no PE signature")
        coff = self.pe_off + 4
        self.machine, nsect, self.timestamp, symtab, nsyms = struct.unpack_from("<HHIII", data, coff)
        opt_size, self.characteristics = struct.unpack_from("<HH", data, coff + 16)
        opt = coff + 20
        self.magic = struct.unpack_from("<H", data, opt)[0]
        self.coff, self.opt = coff, opt
        self.checksum = struct.unpack_from("<I", data, opt + 64)[0]
        self.subsystem, self.dll_characteristics = struct.unpack_from("<HH", data, opt + 68)
        dirs = self.dirs_offset = opt + (96 if self.magic == 0x10B else 112)
        ndirs = struct.unpack_from("<I", data, dirs - 4)[0]
        self.dirs = [struct.unpack_from("<II", data, dirs + 8 * i) for i in range(min(ndirs, 16))]
        self.sections = []
        self.names = []
        strings = symtab + 18 * nsyms  # long section names ("/123") point into the string table
        for i in range(nsect):
            hdr = opt + opt_size + 40 * i
            name = data[hdr:hdr + 8].rstrip(b"\0").decode("ascii", "replace")
            if name.startswith("/") and name[1:].isdigit() and symtab:
                start = strings + int(name[1:])
                name = data[start:data.index(b"\0", start)].decode("ascii", "replace")
            vsize, va, rawsize, rawptr = struct.unpack_from("<IIII", data, hdr + 8)
            self.sections.append((va, max(vsize, rawsize), rawptr, rawsize))
            self.names.append(name)

    def offset(self, rva):
        for va, vsize, rawptr, rawsize in self.sections:
            if va <= rva < va + vsize:
                if rva - va >= rawsize:
                    raise ValueError("RVA 0x%x has no file data" % rva)
                return rawptr + rva - va
        raise ValueError("RVA 0x%x is outside every section" % rva)

    def section_data(self, name):
        for (_, _, rawptr, rawsize), n in zip(self.sections, self.names):
            if n == name:
                return self.data[rawptr:rawptr + rawsize]
        return None

    def directory(self, index):
        return self.dirs[index] if index < len(self.dirs) else (0, 0)

    def cstring(self, rva):
        off = self.offset(rva)
        return self.data[off:self.data.index(b"\0", off)].decode("ascii", "replace")

    def imports(self):
        return [name for name, _ in self.import_names()]

    def import_names(self):
        """(name, RVA of the name) of every imported DLL."""
        rva, size = self.directory(1)
        names = []
        if not rva:
            return names
        off = self.offset(rva)
        while True:
            desc = struct.unpack_from("<IIIII", self.data, off)
            if desc == (0, 0, 0, 0, 0):
                return names
            names.append((self.cstring(desc[3]), desc[3]))
            off += 20

    def resources(self):
        """Return {type: {name: {lang: bytes}}}; ids are ints, names are str."""
        rva, _ = self.directory(2)
        if not rva:
            return {}
        base = self.offset(rva)

        def entries(dir_off):
            named, ids = struct.unpack_from("<HH", self.data, base + dir_off + 12)
            for i in range(named + ids):
                name, target = struct.unpack_from("<II", self.data, base + dir_off + 16 + 8 * i)
                if name & 0x80000000:
                    p = base + (name & 0x7FFFFFFF)
                    n = struct.unpack_from("<H", self.data, p)[0]
                    name = self.data[p + 2:p + 2 + 2 * n].decode("utf-16-le")
                yield name, target

        def leaf(target):
            data_rva, size = struct.unpack_from("<II", self.data, base + target)
            off = self.offset(data_rva)
            return self.data[off:off + size]

        tree = {}
        for rtype, t1 in entries(0):
            for name, t2 in entries(t1 & 0x7FFFFFFF):
                for lang, t3 in entries(t2 & 0x7FFFFFFF):
                    tree.setdefault(rtype, {}).setdefault(name, {})[lang] = leaf(t3)
        return tree


class Report:
    def __init__(self):
        self.failed = 0

    def check(self, cond, what, why=""):
        if cond:
            print("ok: " + what)
        else:
            self.failed += 1
            print("FAIL: " + what + (" (" + why + ")" if why else ""))
        return cond


def first(mapping):
    """First value of a resource directory level (e.g. any language of a resource)."""
    return next(iter(mapping.values()))


def check_header(pe, machine, r):
    want_machine, want_magic = MACHINES[machine]
    r.check(pe.machine == want_machine, "machine is %s" % machine, "got 0x%x" % pe.machine)
    r.check(pe.magic == want_magic, "optional header magic 0x%x" % want_magic, "got 0x%x" % pe.magic)
    r.check(pe.subsystem == 2, "subsystem is Windows GUI", "got %d" % pe.subsystem)


def image_checksum(pe):
    """Windows' image checksum: the file's 16-bit words but the checksum's own, each carry added back at
    once, plus the file's length."""
    total = 0
    data = pe.data + b"\0" * (len(pe.data) % 2)
    for at in range(0, len(data), 2):
        if not pe.opt + 64 <= at < pe.opt + 68:
            total += data[at] | data[at + 1] << 8
            total = (total & 0xFFFF) + (total >> 16)
    return total + len(pe.data)


def check_signature(pe, r):
    """One WIN_CERTIFICATE (revision 2.0, PKCS#7 signed data) filling the certificate table, which ends
    the file and begins at a multiple of eight bytes."""
    at, size = pe.directory(SECURITY_DIRECTORY)
    r.check(at and at % 8 == 0 and at + size == len(pe.data), "certificate table ends the file, 8-byte aligned",
            "at 0x%x, %d bytes, file %d bytes" % (at, size, len(pe.data)))
    readable = at and at + 8 <= len(pe.data)
    length, revision, kind = struct.unpack_from("<IHH", pe.data, at) if readable else (0, 0, 0)
    r.check(revision == 0x200 and kind == 2 and size == (length + 7) & ~7,
            "one Authenticode certificate (revision 2.0, PKCS#7 signed data)",
            "length %d, revision 0x%x, type %d" % (length, revision, kind))


def check_release(pe, exe, machine, signed, r):
    debug = [n for n in pe.names if n.startswith(".debug")]
    r.check(not debug, "no debug sections", "found " + ", ".join(debug))
    link = pe.section_data(".gnu_debuglink")
    want = os.path.basename(exe) + ".debug"
    named = link[:link.index(b"\0")].decode("ascii", "replace") if link and b"\0" in link else None
    r.check(named == want, ".gnu_debuglink names %s" % want, "got %r" % named)
    r.check(pe.timestamp == 0, "PE time stamp is zero", "got %d" % pe.timestamp)
    r.check(pe.checksum == image_checksum(pe), "PE checksum is the file's",
            "stored 0x%x, computed 0x%x" % (pe.checksum, image_checksum(pe)))
    if signed:
        check_signature(pe, r)
    else:
        r.check(pe.directory(SECURITY_DIRECTORY) == (0, 0), "no signature (certificate table empty)",
                "certificate table at 0x%x, %d bytes" % pe.directory(SECURITY_DIRECTORY))
    size = pe.directory(SECURITY_DIRECTORY)[0] if signed else len(pe.data)
    print("size: %d bytes (%.1f KiB)%s (%s)" % (size, size / 1024, " less the signature" * signed, machine))
    r.check(size <= MAX_SIZE[machine],
            "size at most %d bytes%s" % (MAX_SIZE[machine], " less the signature" * signed), "got %d" % size)


def check_imports(pe, r):
    dlls = pe.imports()
    print("imported DLLs: " + (", ".join(dlls) or "(none)"))
    for dll in dlls:
        low = dll.lower()
        if re.match(r"(libstdc\+\+|libgcc|libwinpthread)", low):
            r.check(False, "import %s" % dll, "MinGW runtime DLL; the runtime must be linked statically")
        elif low in LATE_BOUND_DLLS:
            r.check(False, "import %s" % dll, "must be loaded with LoadLibrary at first use")
        else:
            r.check(low in KNOWN_DLLS, "import %s is a KnownDLL" % dll,
                    "Windows would look for it in the program's folder first")
    named = [name.decode() for name in SHELL_DELETION if name in pe.data]
    r.check(not named, "names none of the shell's functions that delete files or recycle them",
            "names " + ", ".join(named))


def check_hardening(pe, machine, r):
    flags = [("DYNAMIC_BASE", DYNAMIC_BASE), ("NX_COMPAT", NX_COMPAT)]
    if machine == "amd64":
        flags.append(("HIGH_ENTROPY_VA", HIGH_ENTROPY_VA))
    for name, bit in flags:
        r.check(pe.dll_characteristics & bit, "%s is set" % name,
                "DllCharacteristics 0x%04x" % pe.dll_characteristics)
    rva, size = pe.directory(BASE_RELOCATION_DIRECTORY)
    stripped = pe.characteristics & IMAGE_FILE_RELOCS_STRIPPED
    r.check(rva and size and not stripped, "relocations present",
            "base relocation directory %d bytes, relocations %sstripped" % (size, "" if stripped else "not "))


def parse_version_block(data, off=0):
    """Parse one VS_VERSIONINFO-style block: (key, value, children)."""
    length, vlen, vtype = struct.unpack_from("<HHH", data, off)
    end = off + length
    kend = off + 6
    while data[kend:kend + 2] != b"\0\0":
        kend += 2
    key = data[off + 6:kend].decode("utf-16-le")
    voff = (kend + 2 + 3) & ~3
    value, coff = b"", voff
    if vlen and vtype == 1:            # text leaf: read up to the terminator
        value = data[voff:end].decode("utf-16-le", "replace").split("\0")[0]
        coff = end
    elif vlen:
        value = data[voff:voff + vlen]
        coff = (voff + vlen + 3) & ~3
    children = []
    while coff + 6 <= end:
        child_len = struct.unpack_from("<H", data, coff)[0]
        if child_len == 0:
            break
        children.append(parse_version_block(data, coff))
        coff = (coff + child_len + 3) & ~3
    return key, value, children


def copyright_line(license_path):
    with open(license_path, encoding="utf-8") as fh:
        return next((line.strip() for line in fh if line.startswith("Copyright ")), None)


def check_version(res, version, r):
    """version: (numbers "X.Y.Z", text shown, copyright line)."""
    numbers, text, copyright = version
    major, minor, patch = (int(n) for n in numbers.split("."))
    want_ms, want_ls = (major << 16) | minor, patch << 16
    quad = "%d.%d.%d.0" % (major, minor, patch)
    if not r.check(RT_VERSION in res, "version resource present"):
        return
    data = first(first(res[RT_VERSION]))
    key, fixed, children = parse_version_block(data)
    r.check(key == "VS_VERSION_INFO", "version resource key", "got %r" % key)
    if r.check(len(fixed) >= 52, "VS_FIXEDFILEINFO present"):
        sig, _, fms, fls, pms, pls = struct.unpack_from("<6I", fixed)
        r.check(sig == 0xFEEF04BD, "VS_FIXEDFILEINFO signature", "got 0x%x" % sig)
        r.check((fms, fls) == (want_ms, want_ls), "file version " + quad, "got %08x.%08x" % (fms, fls))
        r.check((pms, pls) == (want_ms, want_ls), "product version " + quad, "got %08x.%08x" % (pms, pls))
    blocks = {k: c for k, _, c in children}
    tables = blocks.get("StringFileInfo", [])
    if r.check(len(tables) == 1, "one StringFileInfo string table", "found %d" % len(tables)):
        lang_key, _, strings = tables[0]
        r.check(lang_key[:4].lower() == "%04x" % GERMAN, "string table language is German",
                "got %s" % lang_key)
        values = {k: v for k, v, _ in strings}
        for name, want, what in (("ProductName", "Tarvolen", "'Tarvolen'"),
                                 ("FileVersion", text, "the version text %r" % text),
                                 ("ProductVersion", text, "the version text %r" % text),
                                 ("LegalCopyright", copyright, "LICENSE's line")):
            r.check(values.get(name) == want, "%s is %s" % (name, what),
                    "want %r, got %r" % (want, values.get(name)))
    trans = dict((k, v) for k, v, _ in blocks.get("VarFileInfo", []))
    t = trans.get("Translation", b"")
    pairs = [struct.unpack_from("<HH", t, i) for i in range(0, len(t) - 3, 4)]
    r.check(pairs == [(GERMAN, 1200)], "Translation is German/Unicode", "got %r" % pairs)


def check_icons(res, r):
    groups = res.get(RT_GROUP_ICON, {})
    if not r.check(IDI_TARVOLEN in groups, "icon group %d present" % IDI_TARVOLEN,
                   "groups: %r" % list(groups)):
        return
    data = first(groups[IDI_TARVOLEN])
    _, kind, count = struct.unpack_from("<HHH", data)
    entries = [struct.unpack_from("<BBBBHHIH", data, 6 + 14 * i) for i in range(count)]
    sizes = sorted((e[0] or 256, e[1] or 256) for e in entries)
    r.check(kind == 1 and sizes == [(16, 16), (32, 32)], "icon group holds 32x32 and 16x16",
            "got %r" % sizes)
    icons = res.get(RT_ICON, {})
    for w, h, colours, _, _, bits, _, icon_id in entries:
        what = "%dx%d icon (id %d)" % (w, h, icon_id)
        r.check(colours == 16 or bits == 4, what + " is listed as 16 colours",
                "bColorCount %d, wBitCount %d" % (colours, bits))
        if not r.check(icon_id in icons, what + " image present"):
            continue
        hsize, bw, bh, _, bpp = struct.unpack_from("<IiiHH", first(icons[icon_id]))
        r.check(hsize == 40 and bpp == 4 and (bw, bh) == (w, 2 * h),
                what + " is a 4-bit %dx%d DIB" % (w, 2 * h),
                "header %d, %dx%d, %d bpp" % (hsize, bw, bh, bpp))


def check_manifest(res, version, r):
    manifests = res.get(RT_MANIFEST, {})
    if not r.check(1 in manifests, "manifest resource 1 present", "found %r" % list(manifests)):
        return
    text = first(manifests[1]).decode("utf-8-sig", "replace")
    try:
        ET.fromstring(text.encode("utf-8"))
        r.check(True, "manifest is well-formed XML")
    except ET.ParseError as e:
        r.check(False, "manifest is well-formed XML", str(e))
    r.check(re.search(r'level\s*=\s*"asInvoker"', text), "manifest requests asInvoker")
    own = [t for t in re.findall(r"<[\w:]*assemblyIdentity\b[^>]*>", text) if 'name="Tarvolen"' in t]
    major, minor, patch = version[0].split(".")
    quad = 'version="%s.%s.%s.0"' % (major, minor, patch)
    r.check(len(own) == 1 and quad in own[0], "manifest's assembly " + quad, "got %r" % own)
    cc = [t for t in re.findall(r"<[\w:]*assemblyIdentity\b[^>]*>", text)
          if "Microsoft.Windows.Common-Controls" in t]
    r.check(any('version="6.0.0.0"' in t for t in cc), "manifest depends on Common-Controls 6.0.0.0")
    r.check(re.search(r"<[\w:]*dpiAware\b[^>]*>\s*true", text, re.I)
            or re.search(r"<[\w:]*dpiAwareness\b", text), "manifest declares DPI awareness")


def main(argv):
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("exe")
    ap.add_argument("--machine", choices=sorted(MACHINES), default="i386")
    ap.add_argument("--signed", action="store_true", help="expect an Authenticode signature")
    ap.add_argument("--version", required=True, help="the project's version, X.Y.Z")
    ap.add_argument("--version-text", required=True, help="the version as the resource shows it")
    ap.add_argument("--license", required=True, help="LICENSE, whose copyright line the resource carries")
    args = ap.parse_args(argv)
    version = (args.version, args.version_text, copyright_line(args.license))
    r = Report()
    try:
        with open(args.exe, "rb") as fh:
            pe = PE(fh.read())
    except (OSError, ValueError, struct.error) as e:
        r.check(False, "PE signature", str(e))
        return 1
    r.check(True, "PE signature")
    check_header(pe, args.machine, r)
    try:
        check_release(pe, args.exe, args.machine, args.signed, r)
        check_imports(pe, r)
        check_hardening(pe, args.machine, r)
        res = pe.resources()
        check_version(res, version, r)
        check_icons(res, r)
        check_manifest(res, version, r)
    except (ValueError, struct.error, IndexError) as e:
        r.check(False, "PE structures readable", "%s: %s" % (type(e).__name__, e))
    print("%d check(s) failed" % r.failed if r.failed else "all checks passed")
    return 1 if r.failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
