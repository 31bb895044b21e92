#!/usr/bin/env python3
"""Checks that what the documents tell a reader to run is there, and that they tell no harm.

    check_docs.py [--docs FILE...] [BUILD_DIR...]
    check_docs.py --no-registry-editing | --elevated-recipe | --user-part [--docs FILE...]

For every command in a ```sh block of the documents (README.md and docs/DEVELOPING.md by default), and
every one in inline code that runs a script or CMake (`cmake --workflow --preset native`): a script run with
bash, sh or python3 exists, and each --option given to it is one the script knows; a preset named with
--preset is one of CMakePresets.json, of the kind the command needs; a build folder named as
build/PRESET is a preset's; a path it names in a folder of the repository (other than build/) exists. With
BUILD_DIRs (the folders of the presets a full test run builds), every test a document names in
backquotes (`release.reproducible`, `DeletionMode.*`) is one that CTest lists there: every backquoted
dotted name is taken for a test unless it ends in a file's extension (`tarvolen.exe`).

The other checks read what a user is told:
  --no-registry-editing  no document tells the reader to open regedit or to change the restart's value
                         by hand (README.md, docs/DEVELOPING.md and the Windows read-me by default);
  --elevated-recipe      both user documents (README.md and the Windows read-me) hold the numbered
                         recipe for a removal as administrator: the shortcut's Advanced properties or an
                         administrator's command prompt, Windows' consent prompt, the restart, the check;
  --user-part            README.md's part for users (before "## For developers") names no test, no
                         CTest and none of the internals that docs/DEVELOPING.md explains.
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
USER_DOCS = ["README.md", "resources/README-Windows.txt.in"]
ALL_DOCS = ["README.md", "docs/DEVELOPING.md", "resources/README-Windows.txt.in"]
# A backquoted dotted name that ends so is a file's, not a test's.
FILE_ENDINGS = {"exe", "dll", "md", "txt", "py", "sh", "cmake", "h", "cpp", "rc", "json", "manifest",
                "zip", "sha256", "debug", "map", "png", "log", "pdf", "sys", "in"}
# Sentences that send the reader to change the restart's registry value by hand.
REGISTRY_EDITING = [r"\b(start|open|run|launch)\W+regedit", r"double-click\W+\w*\W*PendingFileRenameOperations",
                    r"delete (that|the|its) entry's", r"\bregedit\b[^.]*\bas administrator"]
# What the README's user part leaves to docs/DEVELOPING.md.
INTERNALS = {"CTest": r"\bCTest\b", "\\??\\": r"\\\?\?\\", "WoW64": r"\bWoW64\b",
             "the ANSI code page": r"ANSI\s+code\s+page", "binfmt_misc": r"binfmt"}


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


def inline_commands(text):
    """(line number, command) of every inline code span outside ```sh blocks that runs a script or CMake."""
    found, in_block = [], False
    for number, line in enumerate(text.splitlines(), 1):
        if line.startswith("```"):
            in_block = not in_block
            continue
        if in_block:
            continue
        for span in re.findall(r"`([^`]+)`", line):
            if span.split(" ", 1)[0] in ("bash", "sh", "python3", "cmake", "ctest"):
                found.append((number, span.strip()))
    return found


def is_test_name(name):
    return name.rsplit(".", 1)[-1].lower() not in FILE_ENDINGS


def sentences(text):
    """The document's sentences, each on one line, with its markup's backquotes and stars taken out."""
    flat = re.sub(r"[`*]", "", re.sub(r"\s+", " ", text))
    return re.split(r"(?<=[.:;!?])\s+(?=[A-Z(\d])", flat)


def check_registry_editing(text):
    return ["tells the reader to edit the registry: %s" % sentence.strip()[:160]
            for sentence in sentences(text)
            if any(re.search(rule, sentence, flags=re.I) for rule in REGISTRY_EDITING)]


def check_elevated_recipe(text):
    """The numbered recipe for a removal as administrator, step by step."""
    steps = re.findall(r"^\s*\d+\.\s+.*(?:\n(?!\s*\d+\.\s|\s*$).*)*", text, flags=re.M)
    recipe = " ".join(re.sub(r"\s+", " ", step) for step in steps)
    wanted = {"the shortcut's Advanced properties": r"Advanced",
              "Run as administrator": r"Run as administrator",
              "an administrator's command prompt": r"(?i)command prompt",
              "Windows' consent prompt (User Account Control)": r"User Account Control",
              "the restart": r"\brestart",
              "the check afterwards (reg query or a look at the folder)": r"reg query"}
    return ["its numbered steps do not give %s" % what for what, rule in wanted.items()
            if not re.search(rule, recipe)]


def check_user_part(text):
    end = text.find("\n## For developers")
    user = text[:end] if end >= 0 else text
    problems = [] if end >= 0 else ['no "## For developers" part: all of it is the user part']
    problems += ["the user part names the test `%s`" % name
                 for name in re.findall(r"`([A-Za-z][\w]*\.[\w.*]+)`", user) if is_test_name(name)]
    return problems + ["the user part speaks of %s" % word for word, rule in INTERNALS.items()
                       if re.search(rule, user)]


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
    for word in words[1:]:
        folder = word.split("/", 1)[0]
        if "/" in word and folder != "build" and os.path.isdir(os.path.join(ROOT, folder)) \
                and not os.path.exists(os.path.join(ROOT, word)):
            problems.append("%s: no such file" % word)
    return problems


def test_names(build_dirs):
    names = set()
    for build in build_dirs:
        out = subprocess.run(["ctest", "--test-dir", build, "-N"], capture_output=True, text=True).stdout
        names |= set(re.findall(r"^\s*Test\s+#\d+: (\S+)$", out, flags=re.M))
    return names


def main(argv):
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--docs", nargs="+")
    ap.add_argument("build_dirs", nargs="*")
    reading = ap.add_mutually_exclusive_group()
    reading.add_argument("--no-registry-editing", action="store_const", dest="reading", const=check_registry_editing)
    reading.add_argument("--elevated-recipe", action="store_const", dest="reading", const=check_elevated_recipe)
    reading.add_argument("--user-part", action="store_const", dest="reading", const=check_user_part)
    args = ap.parse_args(argv)
    if args.reading:
        defaults = {check_registry_editing: ALL_DOCS, check_elevated_recipe: USER_DOCS,
                    check_user_part: ["README.md"]}
        failed = 0
        for doc in args.docs or defaults[args.reading]:
            with open(os.path.join(ROOT, doc), encoding="utf-8") as fh:
                for problem in args.reading(fh.read()):
                    print("%s: %s" % (doc, problem))
                    failed += 1
        print("%d problem(s)" % failed if failed else "as it should be")
        return 1 if failed else 0
    args.docs = args.docs or ["README.md", "docs/DEVELOPING.md"]
    known = presets()
    tests = test_names(args.build_dirs) if args.build_dirs else set()
    failed = 0
    for doc in args.docs:
        with open(os.path.join(ROOT, doc), encoding="utf-8") as fh:
            text = fh.read()
        listed = commands(text) + inline_commands(text)
        for number, command in listed:
            for problem in check_command(command, known):
                print("%s:%d: %s: %s" % (doc, number, command, problem))
                failed += 1
        named = 0
        if tests:
            for name in sorted(set(re.findall(r"`([A-Za-z][\w]*\.[\w.*]+)`", text))):
                if is_test_name(name):
                    named += 1
                    if not fnmatch.filter(tests, name):
                        print("%s: `%s` names no test of %s" % (doc, name, ", ".join(args.build_dirs)))
                        failed += 1
        print("%s: %d command(s)%s checked" % (doc, len(listed), " and %d test name(s)" % named if tests else ""))
    print("%d problem(s)" % failed if failed else "every command and test the documents name is there")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
