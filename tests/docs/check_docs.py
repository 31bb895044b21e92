#!/usr/bin/env python3
"""Checks that what the documents tell a reader to run is there.

    check_docs.py [--docs FILE...] [BUILD_DIR...]

For every command in a ```sh block of the documents (README.md and docs/DEVELOPING.md by default):
a script run with bash, sh or python3 exists, and each --option given to it is one the script knows;
a preset named with --preset is one of CMakePresets.json, of the kind the command needs; a build folder
named as build/PRESET is a preset's. With BUILD_DIRs (the folders of the presets a full test run
builds), every test a document names in backquotes (`release.reproducible`, `DeletionMode.*`) is one
that CTest lists there: a name counts as a test's when the part before its first dot is that of a test,
or when it holds a "*".
Exits 1 and says what is missing.
"""
import argparse
import fnmatch
import json
import os
import re
import shlex
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
PRESET_KINDS = {"--workflow": "workflowPresets", "--build": "buildPresets", "ctest": "testPresets"}


def commands(text):
    """(line number, command) of every line in a ```sh block, continuation lines joined."""
    found, in_block, pending, start = [], False, "", 0
    for number, line in enumerate(text.splitlines(), 1):
        if line.startswith("```"):
            in_block = line.strip() == "```sh"
            continue
        if not in_block:
            continue
        line = line.split(" #", 1)[0].rstrip()
        if not pending:
            start = number
        if line.endswith("\\"):
            pending += line[:-1] + " "
            continue
        if (pending + line).strip():
            found.append((start, (pending + line).strip()))
        pending = ""
    return found


def presets():
    with open(os.path.join(ROOT, "CMakePresets.json"), encoding="utf-8") as fh:
        data = json.load(fh)
    return {kind: {p["name"] for p in data.get(kind, [])}
            for kind in ("configurePresets", "buildPresets", "testPresets", "workflowPresets")}


def check_command(command, known):
    """Problems with one command, as text."""
    problems = []
    try:
        words = shlex.split(command)
    except ValueError as e:
        return ["cannot be read: %s" % e]
    if not words:
        return problems
    if words[0] in ("bash", "sh", "python3") and len(words) > 1:
        script = os.path.join(ROOT, words[1])
        if not os.path.isfile(script):
            return ["%s: no such file" % words[1]]
        with open(script, encoding="utf-8", errors="replace") as fh:
            source = fh.read()
        for word in words[2:]:
            option = word.split("=", 1)[0]
            if option.startswith("--") and option not in source:
                problems.append("%s does not know %s" % (words[1], option))
    elif words[0] in ("cmake", "ctest"):
        kind = "configurePresets"
        for flag, preset_kind in PRESET_KINDS.items():
            if flag in words:
                kind = preset_kind
        for i, word in enumerate(words[:-1]):
            if word == "--preset" and words[i + 1] not in known[kind]:
                problems.append("no %s preset %r" % (kind[:-7], words[i + 1]))
        for word in words:
            match = re.match(r"^build/([\w-]+)", word)
            if match and match.group(1) not in known["configurePresets"]:
                problems.append("build/%s is no preset's build folder" % match.group(1))
    return problems


def test_names(build_dirs):
    names = set()
    for build in build_dirs:
        out = subprocess.run(["ctest", "--test-dir", build, "-N"], capture_output=True, text=True).stdout
        names |= set(re.findall(r"^\s*Test\s+#\d+: (\S+)$", out, flags=re.M))
    return names


def main(argv):
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--docs", nargs="+", default=["README.md", "docs/DEVELOPING.md"])
    ap.add_argument("build_dirs", nargs="*")
    args = ap.parse_args(argv)
    known = presets()
    tests = test_names(args.build_dirs) if args.build_dirs else set()
    prefixes = {name.split(".", 1)[0] for name in tests}
    failed = 0
    for doc in args.docs:
        with open(os.path.join(ROOT, doc), encoding="utf-8") as fh:
            text = fh.read()
        listed = commands(text)
        for number, command in listed:
            for problem in check_command(command, known):
                print("%s:%d: %s: %s" % (doc, number, command, problem))
                failed += 1
        named = 0
        if tests:
            for name in sorted(set(re.findall(r"`([A-Za-z][\w]*\.[\w.*]+)`", text))):
                if name.split(".", 1)[0] in prefixes or "*" in name:
                    named += 1
                    if not fnmatch.filter(tests, name):
                        print("%s: `%s` names no test of %s" % (doc, name, ", ".join(args.build_dirs)))
                        failed += 1
        print("%s: %d command(s)%s checked" % (doc, len(listed), " and %d test name(s)" % named if tests else ""))
    print("%d problem(s)" % failed if failed else "every command and test the documents name is there")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
