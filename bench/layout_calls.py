#!/usr/bin/python3
"""Counts the instructions of the commission sheet's layout and the object-model
calls it makes, under callgrind, and prints the instructions per call.

    bench/layout_calls.py [--build DIR] [--records 3,1000,32767]

The layout runs once in a fresh process (commission_bench --once layout N) with
callgrind collecting only inside generator::writeCommissionSheet, so the count
holds the layout's own code, the engine's work and the library code both call.
A call is counted for each call that the generator's code makes to a member of
the object model (Application, Workbook(s), Sheets, Worksheet, Range, RangeRows,
RangeColumns, Font, Interior, RangeBorder, PageSetup), as callgrind records the
calls between functions; constructors and destructors, which are no calls of the
object model, are left out. Members defined inline in the headers would be
missed, so the count never flatters: it can only be low.
"""
import argparse
import os
import re
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.dirname(HERE)
FACADE = ("Application", "Workbooks", "Workbook", "Sheets", "Worksheet", "Range", "RangeRows", "RangeColumns",
          "Font", "Interior", "RangeBorder", "PageSetup")
MEMBER = re.compile(r"^engine::(%s)::(~?\w+)\(" % "|".join(FACADE))


def is_facade_member(name):
    match = MEMBER.match(name)
    return bool(match) and match.group(2).lstrip("~") != match.group(1)


def read_profile(path):
    """(total instructions, object-model calls from the generator) of a callgrind file."""
    names = {"fn": {}, "cfn": {}}
    total = 0
    calls = 0
    caller = ""
    callee = ""
    pending_calls = None
    with open(path) as profile:
        for line in profile:
            line = line.rstrip("\n")
            if line.startswith("summary:") or line.startswith("totals:"):
                total = int(line.split()[1])
                continue
            kind = line.split("=", 1)[0] if "=" in line[:4] else None
            if kind in ("fn", "cfn"):
                ref = line.split("=", 1)[1]
                match = re.match(r"\((\d+)\)(?: (.*))?", ref)
                if match:
                    key, name = match.group(1), match.group(2)
                    # Callgrind names a function in full once and by number after.
                    if name is not None:
                        names["fn"][key] = name
                    name = names["fn"].get(key, "")
                else:
                    name = ref
                if kind == "fn":
                    caller = name
                else:
                    callee = name
                continue
            if line.startswith("calls="):
                pending_calls = int(line.split("=", 1)[1].split()[0])
                if caller.startswith("generator::") and is_facade_member(callee):
                    calls += pending_calls
                continue
    return total, calls


def profile_layout(bin_dir, records):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    with tempfile.TemporaryDirectory() as scratch:
        out = os.path.join(scratch, "callgrind.out")
        env.update(TEMP=scratch, XDG_CONFIG_HOME=scratch, XDG_RUNTIME_DIR=scratch)
        done = subprocess.run(
            ["valgrind", "--tool=callgrind", "--toggle-collect=generator::writeCommissionSheet*",
             "--compress-strings=yes", "--callgrind-out-file=" + out,
             os.path.join(bin_dir, "commission_bench"), "--once", "layout", str(records)],
            env=env, capture_output=True, text=True)
        if done.returncode != 0:
            sys.exit("callgrind failed: " + done.stderr.strip()[-2000:])
        return read_profile(out)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--build", default=os.path.join(SOURCE, "build-bench"))
    parser.add_argument("--records", default="3,1000,32767")
    args = parser.parse_args()
    bin_dir = os.path.join(args.build, "bin")
    print("| Records | Instructions | Object-model calls | Instructions per call |")
    print("|---:|---:|---:|---:|")
    for n in (int(n) for n in args.records.split(",")):
        total, calls = profile_layout(bin_dir, n)
        print("| {:,} | {:,} | {:,} | {:.0f} |".format(n, total, calls, total / calls if calls else 0))


if __name__ == "__main__":
    main()
