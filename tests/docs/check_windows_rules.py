#!/usr/bin/env python3
"""Checks that every Windows function the program calls has its row in docs/windows-rules.md.

    check_windows_rules.py [--rules PAGE] [--objdump OBJDUMP EXE]...

The functions: every one of the table of bound functions (TARVOLEN_SYSTEM_FUNCTIONS in
platform/win32/Libraries.h), and every function each EXE imports, as the toolchain's `objdump -p`
lists them. A function of the table must have a row of its own: a line of a table of the page whose
first cell is the function's name in backquotes. An imported one has a row, or is named in backquotes
in the page's section "Imported, not relied on" (the window, drawing, the C runtime's own start-up,
threads and exceptions), never both.

Each row has five cells: the function, Microsoft's page on learn.microsoft.com, the rule the program
relies on, what Wine shows, and the tests that hold the program to it (backquoted test names, a *
standing for any part of one, each a TEST of tests/ or a CTest test a CMake file of tests/ adds) or
"not testable here" (with the reason after a colon). No function has two rows.
Exits 1 and says what is missing.
"""
import argparse
import fnmatch
import os
import re
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
RULES = os.path.join(ROOT, "docs", "windows-rules.md")
TABLE = os.path.join(ROOT, "platform", "win32", "Libraries.h")
NOT_RELIED_ON = "## Imported, not relied on"
MICROSOFT_PAGE = re.compile(r"https://learn\.microsoft\.com/\S+")
NOT_TESTABLE = "not testable here"


def bound_functions(table_path):
    """The names of the table of bound functions, in its order."""
    with open(table_path, encoding="utf-8") as table:
        text = table.read()
    start = text.index("#define TARVOLEN_SYSTEM_FUNCTIONS(F)")
    end = text.index("// clang-format on", start)
    return re.findall(r"\bF\((\w+),", text[start:end])


def imported_functions(objdump, exe):
    """(function, DLL) of every function `objdump -p` says the executable imports by name."""
    output = subprocess.run([objdump, "-p", exe], capture_output=True, text=True, check=True).stdout
    found, dll = [], None
    for line in output.splitlines():
        if line.strip().startswith("DLL Name:"):
            dll = line.split(":", 1)[1].strip()
        elif not line.strip():
            dll = None
        elif dll and (imported := re.match(r"^\t[0-9a-f]+\t *\d+ +(\w+)", line)):
            found.append((imported.group(1), dll))
    return found


def known_tests():
    """Every gtest case (Suite.Case) and every CTest name the test folder's sources and CMake files give;
    a ${variable} in a CTest name stands for any text."""
    tests = set()
    for folder, _, files in os.walk(os.path.join(ROOT, "tests")):
        for name in files:
            path = os.path.join(folder, name)
            if name.endswith(".cpp"):
                with open(path, encoding="utf-8") as source:
                    tests.update(f"{suite}.{case}" for suite, case in
                                 re.findall(r"^TEST(?:_F)?\(\s*(\w+),\s*(\w+)\)", source.read(), re.M))
            elif name.endswith(".cmake") or name == "CMakeLists.txt":
                with open(path, encoding="utf-8") as cmake:
                    tests.update(re.sub(r"\$\{\w+\}", "*", found) for found in
                                 re.findall(r"add_test\(NAME\s+(\S+)", cmake.read()))
    return tests


def read_page(path):
    """(rows, not relied on, problems): the rows by function with their cells, and the names of the
    section of functions imported but not relied on."""
    rows, not_relied_on, problems = {}, set(), []
    in_section = False
    with open(path, encoding="utf-8") as page:
        for number, line in enumerate(page, 1):
            if line.startswith("## "):
                in_section = line.startswith(NOT_RELIED_ON)
            if in_section:
                not_relied_on.update(re.findall(r"`(\w+)`", line))
                continue
            if not line.startswith("|"):
                continue
            cells = [cell.strip() for cell in line.strip().strip("|").split("|")]
            named = re.fullmatch(r"`(\w+)`", cells[0])
            if not named:
                continue  # a header or its rule
            function = named.group(1)
            where = f"{path}:{number}: {function}"
            if function in rows:
                problems.append(f"{where}: a second row")
            if len(cells) != 5:
                problems.append(f"{where}: {len(cells)} cells, not 5 (function, page, rule, Wine, tests)")
                continue
            rows[function] = (number, cells)
            if not MICROSOFT_PAGE.search(cells[1]):
                problems.append(f"{where}: no page on learn.microsoft.com")
            for cell, what in ((cells[2], "rule"), (cells[3], "what Wine shows")):
                if not cell:
                    problems.append(f"{where}: no {what}")
    return rows, not_relied_on, problems


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--rules", default=RULES)
    parser.add_argument("--table", default=TABLE)
    parser.add_argument("--objdump", nargs=2, action="append", default=[], metavar=("OBJDUMP", "EXE"))
    args = parser.parse_args()

    rows, not_relied_on, problems = read_page(args.rules)
    required = {function: "the table of bound functions" for function in bound_functions(args.table)}
    for objdump, exe in args.objdump:
        imports = imported_functions(objdump, exe)
        if not imports:
            problems.append(f"{exe}: objdump -p lists no imports")
        for function, dll in imports:
            required.setdefault(function, f"imported by {os.path.basename(exe)} from {dll}")

    tests = known_tests()
    for function, (number, cells) in rows.items():
        where = f"{args.rules}:{number}: {function}"
        names = re.findall(r"`([^`]+)`", cells[4])
        if not names and not cells[4].startswith(NOT_TESTABLE):
            problems.append(f"{where}: names no test, nor says \"{NOT_TESTABLE}\"")
        for name in names:
            if not any(fnmatch.fnmatchcase(test, name) or fnmatch.fnmatchcase(name, test) for test in tests):
                problems.append(f"{where}: `{name}` is no test of tests/")
        if function in not_relied_on:
            problems.append(f"{where}: has a row and is named as not relied on")

    for function, source in required.items():
        if function in rows:
            continue
        if source == "the table of bound functions":
            problems.append(f"{function} ({source}) has no row in {args.rules}")
        elif function not in not_relied_on:
            problems.append(f"{function} ({source}) has no row in {args.rules}, nor is it named as not relied on")

    for problem in dict.fromkeys(problems):
        print(problem)
    if problems:
        return 1
    print(f"{len(rows)} rows; every function of the table and the imports has its place")
    return 0


if __name__ == "__main__":
    sys.exit(main())
