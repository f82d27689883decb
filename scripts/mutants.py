#!/usr/bin/env python3
"""Seeds faults into the code one at a time and counts the ones the tests catch.

Usage: scripts/mutants.py [--only ID,ID] [--out FILE] [--which] MUTANTS-FILE

Each mutant in MUTANTS-FILE is a block:

    == ID | PATH | CTEST-ARGUMENTS
    <<<
    text that occurs exactly once in PATH
    ===
    its replacement
    >>>

For each one the script edits PATH, rebuilds the native tree (and both
Windows trees when PATH is Windows code), runs CTest with the given arguments
(stages separated by "||" run one after the other until one fails), and puts
the file back. A stage that starts with "asan:" runs in the sanitized tree
(build-asan, which is then rebuilt as well), for the faults that only the
sanitizers see. A mutant is "caught" when CTest fails, "survived" when it
passes, "broken" when the code no longer builds, "stale" when its text is not
found. Run it in a checkout whose trees are already built (scripts/test.sh
once); it prints one line per mutant and a summary, and writes a table to
--out (default mutants-result.tsv).

With --which a stage that catches the mutant still runs to its end, and the
table gets a fourth column: every test that failed, and for the GoogleTest
programs every failing case (program:Suite.Case); CTest's output, with each
failing test's own, is kept in build/mutant-logs/ID.log. Before deleting a
test, look for the mutants that only it catches.
"""
import argparse
import glob
import json
import os
import re
import shutil
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
WINDOWS_PATHS = re.compile(r"(^|/)win32/|^assets/")
CTEST = "ctest --test-dir build --timeout 600 -j2"
SANITIZED = "asan:"


def ctest(stage):
    """The CTest command of one stage, in the tree that the stage names."""
    if stage.startswith(SANITIZED):
        return f"{CTEST.replace('build ', 'build-asan ')} {stage[len(SANITIZED):].strip()}"
    return f"{CTEST} {stage}"


def parse(path):
    mutants, lines, i = [], open(path, encoding="utf-8").read().split("\n"), 0
    while i < len(lines):
        line = lines[i]
        i += 1
        if not line.startswith("== "):
            continue
        ident, target, args = (part.strip() for part in line[3:].split("|", 2))
        assert lines[i] == "<<<", f"{ident}: expected <<<"
        i += 1
        old = []
        while lines[i] != "===":
            old.append(lines[i])
            i += 1
        i += 1
        new = []
        while lines[i] != ">>>":
            new.append(lines[i])
            i += 1
        i += 1
        mutants.append((ident, target, args, "\n".join(old), "\n".join(new)))
    return mutants


def run(command, timeout):
    try:
        return subprocess.run(command, cwd=ROOT, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                              timeout=timeout, shell=True).returncode
    except subprocess.TimeoutExpired:
        return 124


def failures(stage, timeout, log):
    """Runs a CTest stage to its end; the failing tests and GoogleTest cases.
    CTest's output, with that of each failing test, goes to `log`."""
    reports = os.path.join(ROOT, "build", "mutant-gtest")
    shutil.rmtree(reports, ignore_errors=True)
    try:
        done = subprocess.run(f"{ctest(stage)} --output-on-failure", cwd=ROOT, shell=True, capture_output=True,
                              text=True, timeout=timeout, env={**os.environ, "GTEST_OUTPUT": f"json:{reports}/"})
    except subprocess.TimeoutExpired:
        return ["(timeout)"]
    with open(log, "a", encoding="utf-8") as out:
        out.write(done.stdout)
    failed = re.findall(r"^\s*\d+ - (\S+) \(", done.stdout, re.M)
    if done.returncode != 0 and not failed:
        failed = [f"(ctest exit {done.returncode})"]
    for report in glob.glob(os.path.join(reports, "*.json")):
        program = os.path.splitext(os.path.basename(report))[0]
        try:
            suites = json.load(open(report, encoding="utf-8")).get("testsuites", [])
        except ValueError:
            continue
        failed += [f"{program}:{suite['name']}.{case['name']}" for suite in suites
                   for case in suite.get("testsuite", []) if case.get("failures")]
    return failed


def build(target, stages):
    trees = ["native"]
    if WINDOWS_PATHS.search(target):
        trees = ["win-i686", "win-x86_64"] + trees
    if any(stage.startswith(SANITIZED) for stage in stages):
        trees.append("asan")
    return all(run(f"cmake --build --preset {tree} -j2", 1800) == 0 for tree in trees)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("mutants")
    parser.add_argument("--only", default="")
    parser.add_argument("--out", default="mutants-result.tsv")
    parser.add_argument("--which", action="store_true")
    options = parser.parse_args()
    only = set(filter(None, options.only.split(",")))
    results = []
    logs = os.path.join(ROOT, "build", "mutant-logs")
    os.makedirs(logs, exist_ok=True)
    for ident, target, args, old, new in parse(options.mutants):
        if only and ident not in only:
            continue
        path = os.path.join(ROOT, target)
        original = open(path, encoding="utf-8").read()
        start = time.time()
        failed = []
        if original.count(old) != 1:
            status = "stale"
        else:
            try:
                open(path, "w", encoding="utf-8").write(original.replace(old, new))
                # Stages separated by "||": the later ones run only while
                # the earlier ones pass (put the slow tests last).
                stages = [stage.strip() for stage in args.split("||")]
                if not build(target, stages):
                    status = "broken"
                else:
                    if options.which:
                        log = os.path.join(logs, ident + ".log")
                        if os.path.exists(log):
                            os.remove(log)
                        for stage in stages:
                            failed = failed or failures(stage, 3600, log)
                        caught = bool(failed)
                    else:
                        caught = any(run(ctest(stage), 3600) != 0 for stage in stages)
                    status = "caught" if caught else "survived"
            finally:
                open(path, "w", encoding="utf-8").write(original)
        results.append((ident, status, f"{time.time() - start:.0f}") + ((" ".join(failed),) if options.which else ()))
        print(f"{ident:40} {status:9} {results[-1][2]:>5} s", *results[-1][3:], flush=True)
    # Leave every configured tree built from the unchanged code, the native one first.
    for tree, folder in (("native", "build"), ("win-i686", "build-win-i686"), ("win-x86_64", "build-win-x86_64"),
                         ("asan", "build-asan")):
        if os.path.isdir(os.path.join(ROOT, folder)):
            run(f"cmake --build --preset {tree} -j2", 1800)
    with open(os.path.join(ROOT, options.out), "w", encoding="utf-8") as out:
        out.writelines("\t".join(row) + "\n" for row in results)
    counts = {s: sum(1 for r in results if r[1] == s) for s in ("caught", "survived", "broken", "stale")}
    print(" ".join(f"{k}={v}" for k, v in counts.items()))
    return 0 if counts["broken"] == counts["stale"] == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
