#!/usr/bin/env python3
"""Checks a release zip as a Windows user receives it.

    check_package.py ZIP --version X.Y.Z --license LICENSE [--date EPOCH] [--flaw FLAW]

The zip holds the five files of a release; every text in it ends every line the Windows way (CR LF);
the read-me opens with UTF-8's byte-order mark and is UTF-8 throughout (so that Notepad before Windows 10
version 1903 shows its umlauts, not the ANSI code page's reading of their bytes); its title carries the version and its licence section LICENSE's copyright line; LICENSE.txt
is LICENSE; SHA256SUMS holds the hash of each other file. With --date, every member is dated at that
time (the zip's DOS time, in UTC, to two seconds). Prints one "ok: ..." or "FAIL: ..." line per check
and exits 1 if any failed.

With --flaw, the checks run on the zip's files with one flaw put in, and the run succeeds only when
exactly the check that guards against it fails:
  lone_lf         one line of README.txt ends in LF alone
  copyright_year  the year of README.txt's copyright line changed to one LICENSE does not hold
  no_bom          README.txt without its byte-order mark
"""
import argparse
import hashlib
import os
import re
import sys
import time
import zipfile

FILES = ["LICENSE.txt", "README.txt", "SHA256SUMS", "THIRD-PARTY-NOTICES.txt", "tarvolen.exe"]
TEXTS = ["LICENSE.txt", "README.txt", "SHA256SUMS", "THIRD-PARTY-NOTICES.txt"]
EXPECTED = {"lone_lf": "README.txt ends every line in CR LF",
            "copyright_year": "README.txt holds LICENSE's copyright line",
            "no_bom": "README.txt opens with UTF-8's byte-order mark and is UTF-8"}
UTF8_BOM = b"\xef\xbb\xbf"


def flawed(files, flaw):
    """The files as a package built with that flaw would hold them, SHA256SUMS made to match."""
    readme = files["README.txt"]
    if flaw == "lone_lf":
        at = readme.rfind(b"\r\n", 0, len(readme) - 2)
        files["README.txt"] = readme[:at] + readme[at + 1:]
    elif flaw == "copyright_year":
        files["README.txt"] = re.sub(rb"(Copyright \(c\) )\d{4}", rb"\g<1>1999", readme, count=1)
    elif flaw == "no_bom":
        files["README.txt"] = readme[len(UTF8_BOM):] if readme.startswith(UTF8_BOM) else readme
    old = hashlib.sha256(readme).hexdigest().encode()
    files["SHA256SUMS"] = files["SHA256SUMS"].replace(old, hashlib.sha256(files["README.txt"]).hexdigest().encode())
    return files


def check(files, dates, zip_name, args):
    results = []

    def result(cond, what, why=""):
        results.append((bool(cond), what, why))

    result(sorted(files) == FILES, "the zip holds " + ", ".join(FILES), "got %s" % ", ".join(sorted(files)))
    want_name = "tarvolen-%s-win" % args.version
    result(zip_name.startswith(want_name), "the zip's name begins %s" % want_name, "got %s" % zip_name)
    for name in TEXTS:
        data = files.get(name, b"")
        lone_lf = len(re.findall(rb"(?<!\r)\n", data))
        lone_cr = len(re.findall(rb"\r(?!\n)", data))
        result(data.endswith(b"\r\n") and not lone_lf and not lone_cr, "%s ends every line in CR LF" % name,
               "%d line(s) in LF alone, %d CR alone, last line %s" %
               (lone_lf, lone_cr, "ended" if data.endswith(b"\r\n") else "not ended in CR LF"))

    with open(args.license, "rb") as fh:
        license_text = fh.read()
    copyright = next((line for line in license_text.splitlines() if line.startswith(b"Copyright ")), None)
    readme = files.get("README.txt", b"")
    try:
        readme.decode("utf-8")
        utf8 = True
    except UnicodeDecodeError:
        utf8 = False
    result(readme.startswith(UTF8_BOM) and utf8, "README.txt opens with UTF-8's byte-order mark and is UTF-8",
           "it opens with %r%s" % (readme[:3], "" if utf8 else " and is not UTF-8"))
    title = readme.split(b"\r\n", 1)[0].decode("utf-8", "replace").lstrip("\ufeff")
    result(re.fullmatch(r"Tarvolen %s \((32|64)-bit\)" % re.escape(args.version), title),
           "README.txt's title carries version %s" % args.version, "got %r" % title)
    result(copyright and copyright + b"\r\n" in readme, "README.txt holds LICENSE's copyright line",
           "LICENSE: %r" % copyright)
    result(files.get("LICENSE.txt") == license_text.replace(b"\n", b"\r\n"), "LICENSE.txt is LICENSE")

    sums = {}
    for line in files.get("SHA256SUMS", b"").decode("ascii", "replace").splitlines():
        digest, _, name = line.partition("  ")
        sums[name] = digest
    for name in FILES:
        if name != "SHA256SUMS":
            result(sums.get(name) == hashlib.sha256(files.get(name, b"")).hexdigest(),
                   "SHA256SUMS holds the hash of %s" % name)

    if args.date is not None:
        want = time.gmtime(args.date - args.date % 2)[:6]
        wrong = sorted(name for name, date in dates.items() if date != want)
        result(not wrong, "every member is dated %s UTC" % time.strftime("%Y-%m-%d %H:%M:%S", want + (0,) * 3),
               "not so: %s" % ", ".join("%s %r" % (n, dates[n]) for n in wrong))
    return results


def main(argv):
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("zip")
    ap.add_argument("--version", required=True)
    ap.add_argument("--license", required=True)
    ap.add_argument("--date", type=int)
    ap.add_argument("--flaw", choices=sorted(EXPECTED))
    args = ap.parse_args(argv)
    with zipfile.ZipFile(args.zip) as archive:
        files = {info.filename: archive.read(info) for info in archive.infolist()}
        dates = {info.filename: info.date_time for info in archive.infolist()}
    if args.flaw:
        files = flawed(files, args.flaw)
    results = check(files, dates, os.path.basename(args.zip), args)
    for ok, what, why in results:
        print(("ok: " + what) if ok else ("FAIL: " + what + (" (" + why + ")" if why else "")))
    failed = [what for ok, what, _ in results if not ok]
    if args.flaw:
        if failed == [EXPECTED[args.flaw]]:
            print("rejected for the intended reason: " + EXPECTED[args.flaw])
            return 0
        print("expected exactly one failed check, %r; got %r" % (EXPECTED[args.flaw], failed))
        return 1
    print("%d check(s) failed" % len(failed) if failed else "all checks passed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
