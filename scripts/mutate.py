#!/usr/bin/env python3
"""Applies small faults to the program, one at a time, and reports which ones
no test notices.

Each fault in the list names a file, an exact text in it (which must occur
exactly once), its replacement and the tests that cover the file. The script
works on a scratch checkout (never the one you edit): it writes the fault,
builds only those tests' targets, runs them, and puts the file back.

  scripts/mutate.py --src /work/wt-16-mut [--build DIR] [--list FILE] [--only NAME ...]

List format (scripts/mutations.txt):
  @ name | path/to/file.cpp | tst_a tst_b
  - exact original text (one line, leading blanks ignored)
  + its replacement
"""
import argparse
import os
import re
import signal
import subprocess
import sys
import time


class Fault:
    def __init__(self, name, path, tests, line):
        self.name, self.path, self.tests, self.line = name, path, tests, line
        self.original = None
        self.replacement = None


def read_list(path):
    faults = []
    with open(path, encoding="utf-8") as f:
        for n, raw in enumerate(f, 1):
            line = raw.rstrip("\n")
            if not line.strip() or line.lstrip().startswith("#"):
                continue
            if line.startswith("@ "):
                parts = [p.strip() for p in line[2:].split("|")]
                if len(parts) != 3 or not parts[2]:
                    sys.exit(f"{path}:{n}: expected '@ name | file | tests'")
                faults.append(Fault(parts[0], parts[1], parts[2].split(), n))
            elif line.startswith("- ") and faults:
                faults[-1].original = line[2:].strip()
            elif line.startswith("+ ") and faults:
                faults[-1].replacement = line[2:].strip()
            elif line == "+" and faults:
                faults[-1].replacement = ""
            else:
                sys.exit(f"{path}:{n}: cannot read this line: {line!r}")
    names = set()
    for fault in faults:
        if fault.original is None or fault.replacement is None:
            sys.exit(f"{path}:{fault.line}: fault {fault.name} lacks its '-' or '+' line")
        if fault.name in names:
            sys.exit(f"{path}:{fault.line}: fault name {fault.name} used twice")
        names.add(fault.name)
    return faults


def check_texts(src, faults):
    """Every original text must be found exactly once, or nothing runs."""
    bad = []
    for fault in faults:
        file = os.path.join(src, fault.path)
        try:
            with open(file, encoding="utf-8") as f:
                text = f.read()
        except OSError as e:
            bad.append(f"{fault.name}: {e}")
            continue
        count = text.count(fault.original)
        if count != 1:
            bad.append(f"{fault.name}: {fault.path}: original text found {count} times: {fault.original!r}")
    if bad:
        print("FAULT LIST DOES NOT MATCH THE CODE:", file=sys.stderr)
        for b in bad:
            print("  " + b, file=sys.stderr)
        sys.exit(2)


def run(cmd, cwd, log, timeout=None):
    with open(log, "ab") as out:
        out.write(("\n$ " + " ".join(cmd) + "\n").encode())
        out.flush()
        try:
            return subprocess.run(cmd, cwd=cwd, stdout=out, stderr=subprocess.STDOUT, timeout=timeout).returncode
        except subprocess.TimeoutExpired:
            return -1


def ctest_regex(tests):
    return "^(" + "|".join(re.escape(t) for t in tests) + ")$"


def build_and_test(build, tests, log, jobs):
    if run(["cmake", "--build", build, "-j", str(jobs), "--target"] + tests, build, log) != 0:
        return "build"
    env_cmd = ["ctest", "--timeout", "180", "-j", str(jobs), "-R", ctest_regex(tests)]
    rc = run(env_cmd, build, log, timeout=1800)
    return "pass" if rc == 0 else "fail"


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    here = os.path.dirname(os.path.abspath(__file__))
    ap.add_argument("--src", required=True, help="scratch checkout to mutate")
    ap.add_argument("--build", help="its build folder (default SRC/build)")
    ap.add_argument("--list", default=os.path.join(here, "mutations.txt"))
    ap.add_argument("--only", nargs="*", help="fault names to run")
    ap.add_argument("--out", help="report file (default BUILD/mutation-report.txt)")
    ap.add_argument("--jobs", type=int, default=2)
    ap.add_argument("--no-preflight", action="store_true", help="skip the run without faults")
    args = ap.parse_args()

    src = os.path.abspath(args.src)
    build = os.path.abspath(args.build or os.path.join(src, "build"))
    if os.path.samefile(src, os.path.dirname(here)):
        sys.exit("refusing to mutate the checkout this script lives in; use a scratch worktree")
    faults = read_list(args.list)
    if args.only:
        faults = [f for f in faults if f.name in set(args.only)]
    check_texts(src, faults)

    os.environ["QT_QPA_PLATFORM"] = "offscreen"
    log = os.path.join(build, "mutation.log")
    out = args.out or os.path.join(build, "mutation-report.txt")
    if not os.path.exists(os.path.join(build, "build.ninja")):
        rc = run(["cmake", "-S", src, "-B", build, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=RelWithDebInfo",
                  "-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"], src, log)
        if rc != 0:
            sys.exit(f"configure failed, see {log}")

    # A test that fails without any fault would count every fault as caught.
    if not args.no_preflight:
        tests = sorted({t for f in faults for t in f.tests})
        result = build_and_test(build, tests, log, args.jobs)
        if result != "pass":
            sys.exit(f"the tests do not pass without faults ({result}), see {log}")

    current = {"path": None, "text": None}

    def restore():
        if current["path"]:
            with open(current["path"], "w", encoding="utf-8") as f:
                f.write(current["text"])
            current["path"] = None

    def on_signal(signum, frame):
        restore()
        sys.exit(f"interrupted by signal {signum}; the file is back as it was")

    signal.signal(signal.SIGTERM, on_signal)
    signal.signal(signal.SIGINT, on_signal)

    results = []
    with open(out, "w", encoding="utf-8") as report:
        for i, fault in enumerate(faults, 1):
            file = os.path.join(src, fault.path)
            with open(file, encoding="utf-8") as f:
                text = f.read()
            start = time.time()
            current.update(path=file, text=text)
            try:
                with open(file, "w", encoding="utf-8") as f:
                    f.write(text.replace(fault.original, fault.replacement, 1))
                outcome = build_and_test(build, fault.tests, log, args.jobs)
            finally:
                restore()
            verdict = {"fail": "KILLED", "pass": "SURVIVED", "build": "BROKEN"}[outcome]
            line = f"{verdict:8} {fault.name:28} {fault.path} [{' '.join(fault.tests)}] {time.time() - start:.0f}s"
            print(f"[{i}/{len(faults)}] {line}", flush=True)
            report.write(line + "\n")
            report.flush()
            results.append((fault, verdict))

        killed = sum(1 for _, v in results if v == "KILLED")
        broken = [f.name for f, v in results if v == "BROKEN"]
        survivors = [f for f, v in results if v == "SURVIVED"]
        valid = len(results) - len(broken)
        summary = [f"killed {killed}/{valid} ({100.0 * killed / max(valid, 1):.0f}%)"]
        if broken:
            summary.append("did not build (fix the list): " + ", ".join(broken))
        for f in survivors:
            summary.append(f"survived: {f.name} ({f.path}: {f.original!r} -> {f.replacement!r})")
        for s in summary:
            print(s)
            report.write(s + "\n")
    # Each fault left its tests linked with it: build them again from the
    # restored sources, so that the build folder matches the code.
    tests = sorted({t for f in faults for t in f.tests})
    if run(["cmake", "--build", build, "-j", str(args.jobs), "--target"] + tests, build, log) != 0:
        print(f"rebuilding the tests without faults failed, see {log}", file=sys.stderr)
        return 1
    return 0 if not broken else 1


if __name__ == "__main__":
    sys.exit(main())
