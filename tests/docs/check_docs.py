#!/usr/bin/env python3
"""Checks that what the documents tell a reader to run is there, and that they tell no harm.

    check_docs.py [--docs FILE...] [BUILD_DIR...]
    check_docs.py --no-registry-editing | --elevated-recipe | --user-part | --no-typed-figures [--docs FILE...]
    check_docs.py --box-texts [--docs FILE...] [--copies SOURCE...] [--picture-script SCRIPT]

For every command in a ```sh block of the documents (README.md, docs/DEVELOPING.md and docs/guarantees.md
by default), and every one in inline code that runs a script or CMake (`cmake --workflow --preset native`):
a script run with bash, sh or python3 exists, and each --option given to it is one the script knows; a
preset named with --preset is one of CMakePresets.json, of the kind the command needs; a build folder
named as build/PRESET is a preset's; a path it names in a folder of the repository (other than build/)
exists; a command may begin with a variable's value for it alone (`NAME=value cmake ...`). A release
zip the documents name (tarvolen-X.Y.Z-win32.zip) has project()'s version. Every other command a
document gives, in inline code or in a block of another language (`ls -l ...`, `Get-FileHash ...`,
`shell:sendto`), is either checked too, or listed below in
NOT_CHECKABLE, word for word, with the reason it cannot be; one that is neither is a problem. Checked
too: a tool of the MinGW-w64 toolchain is one that cmake/ names, a path outside the repository is one a
script of the harness names, and with BUILD_DIRs the read-only ones (ls, git, the toolchain's objdump
and addr2line), in ```sh blocks too, are run and must succeed (addr2line must find a function). With BUILD_DIRs (the
folders of the presets a full test run builds), every test a document names in backquotes
(`release.reproducible`, `DeletionMode.*`) is one that CTest lists there: every backquoted dotted name is
taken for a test unless it ends in a file's extension (`tarvolen.exe`).

The other checks read what a user is told:
  --no-registry-editing  no document tells the reader to open regedit or to change the restart's value
                         by hand (README.md, docs/DEVELOPING.md and the Windows read-me by default);
  --elevated-recipe      both user documents (README.md and the Windows read-me) hold the numbered
                         recipe for a removal as administrator: the shortcut's Advanced properties or an
                         administrator's command prompt, Windows' consent prompt, the restart, the check;
  --user-part            README.md's part for users (before "## For developers") and docs/guarantees.md
                         name no test, no CTest and none of the internals that docs/DEVELOPING.md
                         explains (but for the \??\ names the restart's list shows, in the paragraph
                         right after the command that shows it);
  --box-texts            every German text the user documents quote (README.md, the Windows read-me and
                         docs/guarantees.md by default, and the wide literals of each --copies
                         SOURCE, the programs that copy a box) is one the program shows: a run of at least
                         two words of the program's German, read from startup/ModMain.cpp,
                         platform/filekit/RemovalReasons.h and platform/win32/TextAndErrors.cpp, must be
                         part of one of its texts ("…" or "..." stands for what the quote leaves out,
                         and for the path a box names); and each title the --picture-script looks for
                         starts one of the program's titles. The build hands it the tools' files, which
                         the tests never name themselves;
  --no-typed-figures     docs/DEVELOPING.md (by default) types no size, time or count of tests: the checks
                         and runs that print them are named instead.
  --promises             every promise docs/guarantees.md and README.md mark as shown ("(tested)",
                         "(tested natively: ...)", "(checked: ...)") has its row in
                         tests/docs/tested_promises.txt, and every row its marker; with BUILD_DIRs, each
                         row's tests are tests of those builds (of a Wine build unless the marker says
                         "native"), and the last run of the test preset of each build that has them
                         ran them and they passed (the JUnit file last-test-run.xml the presets write).
  --bound-libraries      the libraries of the program's table of bound functions
                         (platform/win32/Libraries.h, all but kernel32, which it imports) are the ones
                         docs/DEVELOPING.md and THIRD-PARTY-NOTICES.txt say are loaded at run time, and
                         tests/wine/PlantedLibraryTest.cpp names each (planted, or why it is left out).
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
import xml.etree.ElementTree as ET

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
PRESET_KINDS = {"--workflow": "workflowPresets", "--build": "buildPresets", "ctest": "testPresets"}
USER_DOCS = ["README.md", "resources/README-Windows.txt.in"]
ALL_DOCS = ["README.md", "docs/DEVELOPING.md", "docs/guarantees.md", "resources/README-Windows.txt.in"]
COMMAND_DOCS = ["README.md", "docs/DEVELOPING.md", "docs/guarantees.md", "resources/README-Windows.txt.in"]
QUOTING_DOCS = ["README.md", "resources/README-Windows.txt.in", "docs/guarantees.md"]
# The pages whose promises may be marked as tested, and the table that names each marked promise's tests.
PROMISE_DOCS = ["docs/guarantees.md", "README.md"]
PROMISES = "tests/docs/tested_promises.txt"
# A marker: a parenthesis that says that what comes before it is shown by a test or a check.
MARKER = re.compile(r"\((?:both |also )?(?:tested|checked)\b[^()]*\)")
# Where the program's box texts are written.
BOX_TEXT_SOURCES = ["startup/ModMain.cpp", "platform/filekit/RemovalReasons.h", "platform/win32/TextAndErrors.cpp"]
# Commands the documents give that no check here can run, word for word, and why.
ON_WINDOWS = "runs on Windows only, and no test runs on Windows"
NOT_CHECKABLE = {
    "tarvolen.exe [file]": "the usage line; both modes are tested under Wine",
    "cmd": "typed into Windows' Start menu; " + ON_WINDOWS,
    "shell:sendto": "typed into Windows' Run box; " + ON_WINDOWS,
    '"C:\\Program Files\\Tarvolen\\tarvolen.exe" "C:\\Users\\Anna\\Documents\\report.docx"':
        "an example for an administrator's command prompt; " + ON_WINDOWS,
    "Get-FileHash -Algorithm SHA256 .\\tarvolen-1.0.0-win64.zip": "PowerShell; " + ON_WINDOWS,
    "Get-FileHash -Algorithm SHA256 .\\tarvolen-@PROJECT_VERSION@-win@TARVOLEN_README_BITS@.zip":
        "PowerShell, in the Windows read-me, which names its own zip; " + ON_WINDOWS,
    "Get-AuthenticodeSignature .\\tarvolen.exe": "PowerShell; " + ON_WINDOWS,
    'reg query "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Session Manager" /v PendingFileRenameOperations':
        ON_WINDOWS + " (the tests read the same value under Wine)",
    "wineboot -r": "run by the tests inside their Wine session, not by a reader",
    "reg query": "named as the way to look, not given; " + ON_WINDOWS,
}
# First words of commands the documents may give; a command's first word may also be a PowerShell
# Verb-Noun, a shell: location, a program ending in .exe, or any word followed by an option.
COMMAND_WORDS = {"bash", "sh", "python3", "cmake", "ctest", "ls", "du", "git", "grep", "sudo", "cmd", "reg",
                 "regedit", "powershell", "wineboot"}
ALONE_COMMANDS = {"cmd", "regedit"}
# Read-only commands that are run when BUILD_DIRs are given; du is only checked for its path (it would walk
# the runner's mounts while a session uses it).
RUNNABLE = {"ls", "git"}
STATIC = {"du"}
# git's commands that change nothing; any other (git tag, git push) is only checked for its paths.
GIT_READ_ONLY = {"status", "log", "show", "diff", "rev-parse", "describe", "ls-files"}


def runs_read_only(words):
    return (words[0] == "ls" or TOOLCHAIN_TOOL.match(words[0]) is not None
            or (words[0] == "git" and len(words) > 1 and words[1] in GIT_READ_ONLY))
TOOLCHAIN_TOOL = re.compile(r"^(i686|x86_64)-w64-mingw32-(objdump|addr2line)$")
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
    """(line number, command) of every line in a ```sh block (set in or not), continuation lines joined."""
    found, in_block, pending, start = [], False, "", 0
    for number, line in enumerate(text.splitlines(), 1):
        if line.lstrip().startswith("```"):
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
        if line.lstrip().startswith("```"):
            in_block = not in_block
            continue
        if in_block:
            continue
        for span in re.findall(r"`([^`]+)`", line):
            if span.split(" ", 1)[0] in ("bash", "sh", "python3", "cmake", "ctest"):
                found.append((number, span.strip()))
    return found


def other_commands(text, plain=False):
    """(line number, command) of every command outside ```sh blocks that runs no script or CMake: in
    inline code, and each line of a block of another language (```powershell, ```bat). In a plain text
    (the Windows read-me), each line set in by four spaces or more that is a command, and each shell:
    location."""
    found, block = [], None
    for number, line in enumerate(text.splitlines(), 1):
        if plain:
            spans = re.findall(r"\bshell:\w+", line) + ([line.strip()] if re.match(r" {4,}\S", line) else [])
            found += [(number, span) for span in spans if is_command(span)]
            continue
        if line.lstrip().startswith("```"):
            block = None if block is not None else line.strip()[3:]
            continue
        if block == "sh":
            continue
        if block is not None:
            spans = [line.split(" #", 1)[0].strip()]
        else:
            spans = [span.strip() for span in re.findall(r"`([^`]+)`", line)]
        for span in spans:
            if span and is_command(span) and span.split(" ", 1)[0] not in ("bash", "sh", "python3", "cmake", "ctest"):
                found.append((number, span))
    return found


def is_command(span):
    """Whether an inline code span is a command a reader is to run or type."""
    try:
        words = shlex.split(span, posix=False)
    except ValueError:
        words = span.split()
    if not words:
        return False
    first = words[0].strip('"')
    if len(words) == 1:
        return first in ALONE_COMMANDS or re.fullmatch(r"shell:\w+", first) is not None
    return (first in COMMAND_WORDS or TOOLCHAIN_TOOL.match(first) is not None
            or re.fullmatch(r"[A-Z][a-z]+-[A-Z][A-Za-z]+", first) is not None
            or first.lower().endswith(".exe")
            or re.match(r"^(-{1,2}|/)[A-Za-z]", words[1]) is not None)


def check_other_command(command, known, build_dirs):
    """Problems with a command that runs no script or CMake: listed as not checkable, or checked."""
    if command in NOT_CHECKABLE:
        return []
    words = command.split()
    first = words[0]
    problems = []
    if first in RUNNABLE or first in STATIC or TOOLCHAIN_TOOL.match(first):
        if TOOLCHAIN_TOOL.match(first):
            prefix = first.rsplit("-", 1)[0]
            toolchains = "".join(open(os.path.join(ROOT, "cmake", name), encoding="utf-8").read()
                                 for name in sorted(os.listdir(os.path.join(ROOT, "cmake"))) if name.endswith(".cmake"))
            if prefix not in toolchains:
                problems.append("%s is no tool of a toolchain in cmake/" % first)
        for word in words[1:]:
            match = re.match(r"^build/([\w-]+)", word)
            if match and match.group(1) not in known["configurePresets"]:
                problems.append("build/%s is no preset's build folder" % match.group(1))
            if word.startswith("/") and not named_by_a_script(word):
                problems.append("%s is named by no script of the repository" % word)
        if build_dirs and not problems and runs_read_only(words):
            run = subprocess.run(command, shell=True, cwd=ROOT, capture_output=True, text=True)
            if run.returncode != 0:
                problems.append("fails: %s" % (run.stderr.strip() or run.stdout.strip())[:200])
            elif "addr2line" in first and run.stdout.startswith("??"):
                problems.append("finds no function at that address")
        return problems
    return ["is neither checked here nor listed in NOT_CHECKABLE with the reason it cannot be"]


def named_by_a_script(path):
    for base, _, names in os.walk(os.path.join(ROOT, "harness")):
        for name in names:
            if name.endswith(".sh"):
                with open(os.path.join(base, name), encoding="utf-8", errors="replace") as fh:
                    if path in fh.read():
                        return True
    return False


def unescape_cpp(literal):
    return re.sub(r'\\(u[0-9a-fA-F]{4}|.)', lambda m: chr(int(m.group(1)[1:], 16)) if m.group(1)[0] == "u"
                  else {"r": "\r", "n": "\n", "t": "\t"}.get(m.group(1), m.group(1)), literal)


WILDCARD = "\x00"


def program_texts():
    """Every text the program's sources build from wide literals, what is not a literal as WILDCARD."""
    token_re = re.compile(r'L"(?:\\.|[^"\\])*"|[A-Za-z_]\w*|//[^\n]*|\S')
    tokens = []
    for source in BOX_TEXT_SOURCES:
        with open(os.path.join(ROOT, source), encoding="utf-8") as fh:
            tokens += [token for token in token_re.findall(fh.read()) if not token.startswith("//")] + [";"]
    named, texts = {}, []

    def operand(i):
        """(text, next index) of the operand at i, or None."""
        if tokens[i].startswith('L"'):
            text = ""
            while i < len(tokens) and tokens[i].startswith('L"'):
                text += unescape_cpp(tokens[i][2:-1])
                i += 1
            return text, i
        if re.match(r"[A-Za-z_]", tokens[i]):
            name, i = tokens[i], i + 1
            if i < len(tokens) and tokens[i] == "(":
                depth = 0
                while i < len(tokens):
                    depth += {"(": 1, ")": -1}.get(tokens[i], 0)
                    i += 1
                    if depth == 0:
                        break
                if name == "Quoted":
                    return '"' + WILDCARD + '"', i
            return named.get(name, WILDCARD), i
        return None

    for _ in range(2):  # the second pass knows every named text
        texts = []
        i = 0
        while i < len(tokens):
            starts_literal = tokens[i].startswith('L"')
            got = operand(i) if starts_literal or re.match(r"[A-Za-z_]", tokens[i]) else None
            if got is None:
                i += 1
                continue
            parts, j = [got[0]], got[1]
            while j + 1 < len(tokens) and tokens[j] == "+":
                more = operand(j + 1)
                if more is None:
                    break
                parts.append(more[0])
                j = more[1]
            if len(parts) == 1 and not starts_literal:
                i += 1
                continue
            text = "".join(parts)
            if i >= 2 and tokens[i - 1] == "=" and re.match(r"k[A-Z]", tokens[i - 2]) and len(parts) == 1:
                named[tokens[i - 2]] = text
            if sum(c.isalpha() for c in text) >= 2:
                texts.append(re.sub(r"\s+", " ", text).strip())
            i = j
    return texts


# Words of the program's German that English text uses too: they may stand inside a quote, but do not make
# one.
SHARED_WORDS = {"tarvolen", "administrator", "link", "name", "error"}
# Common German words beside the program's own, so that a quote that drifts from the program's words is
# still read as German.
GERMAN_WORDS = {"der", "die", "das", "ist", "nicht", "und", "wurde", "wird", "werden", "kann", "konnte", "mit",
                "von", "zu", "auf", "ein", "eine", "dem", "den", "im", "beim", "noch", "jetzt", "bitte", "datei",
                "dateien", "gelöscht", "löschen", "entfernt", "entfernen", "neustart", "fehler", "wirklich"}


def german_runs(text, vocabulary):
    """Each run of at least two words of the program's German in a document, with the quotation marks,
    ellipses and dashes between them."""
    flat = re.sub(r"\s+", " ", re.sub(r"[`*]", "", text))
    runs, current, words = [], [], 0
    for token in flat.split(" ") + ["|"]:
        core = re.sub(r"^[^\w]+|[^\w]+$", "", token).casefold()
        if core and core in vocabulary:
            current.append(token)
            words += core not in SHARED_WORDS
        elif not core and token and re.fullmatch(r"[\"„“”….\-–,:;?!]+", token) and current:
            current.append(token)
        else:
            while current and (re.sub(r"[^\w]", "", current[-1]).casefold() in SHARED_WORDS
                               or current[-1] in ("-", "–")):
                current.pop()
            while current and re.sub(r"[^\w]", "", current[0]).casefold() in SHARED_WORDS:
                current.pop(0)
            if words >= 2:
                runs.append(" ".join(current).strip("\"„“”':),;… ").lstrip("("))
            current, words = [], 0
    return runs


def check_box_texts(text, texts=None):
    texts = texts if texts is not None else program_texts()
    vocabulary = GERMAN_WORDS | {word.casefold() for program_text in texts
                                 if re.search(r"[äöüß]|\b(Datei|nicht|wird)\b", program_text)
                                 for word in re.findall(r"\w+", program_text)}
    problems = []
    for run in german_runs(text, vocabulary):
        candidates = [run] + ([run[:-1]] if run.endswith((".", ":")) else [])
        patterns = [re.compile(".*?".join(re.escape(piece) for piece in re.split(r"…|\.\.\.", candidate)), re.S)
                    for candidate in candidates]
        if not any(pattern.search(program_text) for pattern in patterns for program_text in texts):
            problems.append("quotes a German text the program does not show: %s" % run[:160])
    return problems


# The script that takes the README's pictures finds the program's first window by the start of its title.
TITLE_SOURCES = ["startup/ModMain.cpp", "platform/MessageBoxService.h", "window/ReplacerLayout.h"]


def check_window_titles(script):
    """Each title the picture script looks for starts a title the program gives a box or its window."""
    with open(script, encoding="utf-8") as fh:
        match = re.search(r"""grep -E '"\(([^)]+)\)'""", fh.read())
    literals = []
    for source in TITLE_SOURCES:
        with open(os.path.join(ROOT, source), encoding="utf-8") as fh:
            literals += re.findall(r'L"([^"\\]*)"', fh.read())
    if not match:
        return ["%s: no list of the window titles it looks for" % script]
    return ["%s looks for a window titled %s..., which the program does not show" % (script, title)
            for title in match.group(1).split("|") if not any(literal.startswith(title) for literal in literals)]


def is_test_name(name):
    return name.rsplit(".", 1)[-1].lower() not in FILE_ENDINGS


def sentences(text):
    """The document's sentences, each on one line, with its markup's backquotes and stars taken out."""
    flat = re.sub(r"[`*]", "", re.sub(r"\s+", " ", text))
    return re.split(r"(?<=[.:;!?])\s+(?=[A-Z(\d])", flat)


# A figure that a check prints or a run measures, and so changes with the program: a size, a time, a count
# of tests.
TYPED_FIGURE = re.compile(r"\b\d[\d,.]*\s*(?:bytes?|[KMG]i?B|ms|s|seconds?|min|minutes?|hours?)\b"
                          r"|\b[1-9][\d,]*\s+(?:tests?|passed|failed)\b")


def check_typed_figures(text):
    """The document types no figure that a check prints: it names the check that prints it instead."""
    return ["%d: types a figure a check prints or a run measures: %s" % (number, match.group(0))
            for number, line in enumerate(text.splitlines(), 1) for match in TYPED_FIGURE.finditer(line)]


def check_registry_editing(text):
    return ["tells the reader to edit the registry: %s" % sentence.strip()[:160]
            for sentence in sentences(text)
            if any(re.search(rule, sentence, flags=re.I) for rule in REGISTRY_EDITING)]


def check_elevated_recipe(text):
    """The numbered recipe for a removal as administrator, step by step."""
    steps = re.findall(r"^\s*\d+\.\s+.*(?:\n(?!\s*\d+\.\s|\s*$).*)*", text, flags=re.M)
    recipe = " ".join(re.sub(r"\s+", " ", step) for step in steps)
    wanted = {"Run as administrator": r"Run as administrator",
              "an administrator's command prompt": r"(?i)command prompt",
              "Windows' consent prompt (User Account Control)": r"User Account Control",
              "the restart": r"\brestart",
              "the check afterwards (reg query or a look at the folder)": r"reg query|no longer in its folder"}
    return ["its numbered steps do not give %s" % what for what, rule in wanted.items()
            if not re.search(rule, recipe)]


def check_user_part(text, whole=False):
    """The part for users names no test and no internals; with whole, all of the text is for users."""
    end = -1 if whole else text.find("\n## For developers")
    user = text[:end] if end >= 0 else text
    # The paragraph right after the command that shows the restart's list explains its \??\ names.
    user = re.sub(r"(```\w*\n[^`]*PendingFileRenameOperations\n```\n\n).+?\n\n", r"\1", user, count=1, flags=re.S)
    problems = [] if end >= 0 or whole else ['no "## For developers" part: all of it is the user part']
    problems += ["the user part names the test `%s`" % name
                 for name in re.findall(r"`([A-Za-z][\w]*\.[\w.*]+)`", user) if is_test_name(name)]
    return problems + ["the user part speaks of %s" % word for word, rule in INTERNALS.items()
                       if re.search(rule, user)]


def read_promises(path):
    """The table's rows: (line number, page, words of the promise, its marker, [test names])."""
    rows = []
    with open(path, encoding="utf-8") as fh:
        for number, line in enumerate(fh, 1):
            if line.strip() and not line.startswith("#"):
                page, words, marker, tests = (part.strip() for part in line.split("|"))
                rows.append((number, page, re.sub(r"\s+", " ", re.sub(r"[`*]", "", words)), marker, tests.split()))
    return rows


def markers(text):
    """(marker, the text it closes: from its paragraph's or list item's start, or the marker before it)."""
    found = []
    for paragraph in re.split(r"\n\s*\n|\n(?=\s*(?:[-*]|\d+\.) )", text):
        flat = re.sub(r"\s+", " ", re.sub(r"[`*]", "", paragraph))
        start = 0
        for match in MARKER.finditer(flat):
            found.append((match.group(0), flat[start:match.start()]))
            start = match.end()
    return found


def last_run(build):
    """{test: whether it passed} for the last run of a build's test preset, from the JUnit file the presets
    write (last-test-run.xml in the build folder; CTest's own LastTest.log is emptied by ctest -N)."""
    try:
        suite = ET.parse(os.path.join(build, "last-test-run.xml")).getroot()
    except (OSError, ET.ParseError):
        return {}
    return {case.get("name"): case.get("status") == "run" and case.find("failure") is None
            and case.find("skipped") is None and "[  SKIPPED ]" not in (case.findtext("system-out") or "")
            for case in suite.iter("testcase")}


def check_promises(docs, table, build_dirs):
    """Problems of the marked promises: a marker without its row, a row without its marker, and with
    build_dirs a test that is not there, not of a Wine build, not run or not passed."""
    rows = read_promises(table)
    problems, used = [], set()
    runs = {build: last_run(build) for build in build_dirs}
    builds = {build: test_names([build]) for build in build_dirs}
    for doc in docs:
        with open(os.path.join(ROOT, doc), encoding="utf-8-sig") as fh:
            for marker, before in markers(fh.read()):
                mine = [row for row in rows if row[1] == doc and row[2] in before and row[3] == marker]
                if len(mine) != 1:
                    problems.append('%s: %s "...%s%s" in %s' % (doc, "no row for" if not mine else "several rows for",
                                                               before[-70:], marker, os.path.relpath(table, ROOT)))
                    continue
                used.add(mine[0][0])
                for pattern in mine[0][4] if build_dirs else []:
                    native = "native" in marker
                    where = [build for build, names in builds.items() if fnmatch.filter(names, pattern)
                             and (native or "wine.session.start" in names)]
                    if not where:
                        problems.append("%s: %s names %s, which is no test of %s%s" % (
                            doc, marker, pattern, "" if native else "a Wine build of ", ", ".join(build_dirs)))
                    for build in where:
                        for name in fnmatch.filter(builds[build], pattern):
                            if name not in runs[build]:
                                problems.append("%s: %s: %s did not run in the last run of %s's test preset" % (
                                    doc, marker, name, build))
                            elif not runs[build][name]:
                                problems.append("%s: %s: %s did not pass in %s" % (doc, marker, name, build))
    for number, page, words, marker, _ in rows:
        if number not in used and page in docs:
            problems.append("%s:%d: the row for %s \"%s\" %s matches no marker" % (
                os.path.relpath(table, ROOT), number, page, words, marker))
    return problems


def table_libraries():
    """The libraries of the table of bound functions, but kernel32, which the program imports."""
    with open(os.path.join(ROOT, "platform", "win32", "Libraries.h"), encoding="utf-8") as fh:
        return set(re.findall(r"^\s*F\(\s*\w+\s*,\s*(\w+)\s*,", fh.read(), flags=re.M)) - {"kernel32"}


# Where a text names the libraries loaded at run time: the list the rule's group holds.
LOADED_AT_RUN_TIME = {"docs/DEVELOPING.md": r"The libraries loaded at run time[^:]*: ([^.]+)\.",
                      "THIRD-PARTY-NOTICES.txt": r"it loads (.+?) from the Windows system folder"}
PLANTED = "tests/wine/PlantedLibraryTest.cpp"


def check_bound_libraries():
    wanted = table_libraries()
    problems = []
    for doc, rule in LOADED_AT_RUN_TIME.items():
        with open(os.path.join(ROOT, doc), encoding="utf-8") as fh:
            match = re.search(rule, " ".join(fh.read().replace("`", "").split()))
        named = set(re.split(r", | and ", match.group(1))) if match else set()
        if named != wanted:
            problems.append("%s says the libraries loaded at run time are %s; the table's are %s" % (
                doc, ", ".join(sorted(named)) or "(no such sentence)", ", ".join(sorted(wanted))))
    with open(os.path.join(ROOT, PLANTED), encoding="utf-8") as fh:
        planted = fh.read()
    problems += ["%s neither plants %s.dll nor says why it leaves it out" % (PLANTED, name)
                 for name in sorted(wanted) if name + ".dll" not in planted]
    return problems


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
    while words and re.fullmatch(r"[A-Za-z_]\w*=.*", words[0]):
        words = words[1:]
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


def check_zip_versions(text):
    """The version in each release zip's name the document gives, and in each git tag or push of a release
    tag, is project()'s."""
    with open(os.path.join(ROOT, "CMakeLists.txt"), encoding="utf-8") as fh:
        version = re.search(r"project\(Tarvolen VERSION ([\d.]+)", fh.read()).group(1)
    found = [(m.start(), m.group(0), m.group(1))
             for m in re.finditer(r"tarvolen-(\d+\.\d+\.\d+)-(?:win32|win64)\.zip", text)]
    for line in re.finditer(r"^.*\bgit (?:tag|push)\b.*$", text, flags=re.M):
        found += [(line.start() + m.start(), m.group(0), m.group(1))
                  for m in re.finditer(r"v?(\d+\.\d+\.\d+)", line.group(0))]
    return ["%d: %s: the version is not project()'s, %s" % (text.count("\n", 0, at) + 1, what, version)
            for at, what, found_version in sorted(found) if found_version != version]


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
    reading.add_argument("--box-texts", action="store_const", dest="reading", const=check_box_texts)
    reading.add_argument("--no-typed-figures", action="store_const", dest="reading", const=check_typed_figures)
    ap.add_argument("--copies", nargs="+", metavar="SOURCE")
    ap.add_argument("--picture-script", metavar="SCRIPT")
    ap.add_argument("--promises", nargs="?", const=os.path.join(ROOT, PROMISES), metavar="TABLE")
    ap.add_argument("--bound-libraries", action="store_true")
    args = ap.parse_args(argv)
    if args.bound_libraries:
        found = check_bound_libraries()
        print("\n".join(found + ["%d problem(s)" % len(found) if found else "as it should be"]))
        return 1 if found else 0
    if args.promises:
        found = check_promises(args.docs or PROMISE_DOCS, args.promises, args.build_dirs)
        for problem in found:
            print(problem)
        print("%d problem(s)" % len(found) if found else "every marked promise names its tests%s" % (
            ", and they ran and passed" if args.build_dirs else ""))
        return 1 if found else 0
    if args.reading:
        defaults = {check_registry_editing: ALL_DOCS, check_elevated_recipe: USER_DOCS,
                    check_user_part: ["README.md", "docs/guarantees.md"], check_box_texts: QUOTING_DOCS,
                    check_typed_figures: ["docs/DEVELOPING.md"]}
        failed = 0
        for doc in (args.docs or defaults[args.reading]) + (args.copies or []):
            with open(os.path.join(ROOT, doc), encoding="utf-8-sig") as fh:
                text = fh.read()
                if doc.endswith(".cpp"):  # the benchmark's copies of the box: its wide literals
                    text = "…".join(unescape_cpp(literal) for literal in re.findall(r'L"((?:\\.|[^"\\])*)"', text))
                    text = re.sub(r"(?<=\w)…", " …", re.sub(r"…(?=\w)", "… ", text))
                if args.reading is check_user_part:
                    found = check_user_part(text, whole=os.path.basename(doc) == "guarantees.md")
                else:
                    found = args.reading(text)
                for problem in found:
                    print("%s: %s" % (doc, problem))
                    failed += 1
        if args.reading is check_box_texts and args.picture_script:
            for problem in check_window_titles(args.picture_script):
                print(problem)
                failed += 1
        print("%d problem(s)" % failed if failed else "as it should be")
        return 1 if failed else 0
    args.docs = args.docs or COMMAND_DOCS
    known = presets()
    tests = test_names(args.build_dirs) if args.build_dirs else set()
    failed = 0
    for doc in args.docs:
        with open(os.path.join(ROOT, doc), encoding="utf-8-sig") as fh:
            text = fh.read()
        listed = commands(text) + inline_commands(text)
        for number, command in listed:
            for problem in check_command(command, known):
                print("%s:%d: %s: %s" % (doc, number, command, problem))
                failed += 1
        for number, command in commands(text):  # the read-only ones of the blocks are run as well
            if runs_read_only(command.split()):
                for problem in check_other_command(command, known, args.build_dirs):
                    print("%s:%d: %s: %s" % (doc, number, command, problem))
                    failed += 1
        others = other_commands(text, plain=doc.endswith(".txt.in"))
        for number, command in others:
            for problem in check_other_command(command, known, args.build_dirs):
                print("%s:%d: %s: %s" % (doc, number, command, problem))
                failed += 1
        listed += others
        for problem in check_zip_versions(text):
            print("%s:%s" % (doc, problem))
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
