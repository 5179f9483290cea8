#!/usr/bin/python3
"""Builds the benchmarks and the peers, runs them in one go on the same record
counts, and prints the tables of times, ratios and peak memory as Markdown.

    bench/compare.py [--build DIR] [--runs K] [--records 3,100,1000,32767] [--no-build]
                     [--baseline DIR] [--callgrind]

Ours: the stages and the start-up from the Google Benchmark program (medians of K
repetitions), and the whole generation run once per fresh process (median of K
processes) for the comparison. Peers: the same sheet written by libxlsxwriter
(.xlsx) and by xlwt (.xls), each once per fresh process, K times. Runs are
interleaved so that a change of the machine's load touches every writer alike.
Times are what each program measures of its own work (program and interpreter
start excluded), as wall-clock time and as processor time (which says more of the
work itself on a loaded machine); peak memory is the resident high-water mark
each process reports of itself (VmHWM: the ru_maxrss its parent gets would also
count the parent's memory at the launch).

Besides the whole run, our layout, save and reopen stages run once per fresh
process too: their sum is the whole run without its picture step, and the reopen
stage's peak (its process lays out and saves first) is that run's peak memory.

--baseline DIR measures a build of the program from before a change (built with
the same options, in DIR) in the same interleaved runs, so that the tables show
before and after from one run. --callgrind also counts the layout's instructions
per object-model call (bench/layout_calls.py) for ours and the baseline.
"""
import argparse
import json
import os
import platform
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import layout_calls  # noqa: E402  (beside this script)

SOURCE = os.path.dirname(HERE)
DEBIAN_PYTHON = "/usr/bin/python3"  # the interpreter with Debian's python3-xlwt
TARGETS = ["commission_bench", "startup_probe", "xlsxwriter_commission"]
STAGES = ["Layout", "Save", "Reopen", "Picture", "WholeRun"]


def build(build_dir):
    subprocess.run(["cmake", "-S", SOURCE, "-B", build_dir, "-G", "Ninja", "-DQUENVALE_BENCH=ON",
                    "-DCMAKE_BUILD_TYPE=Release"], check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", build_dir, "--target", *TARGETS, "-j", str(os.cpu_count() or 2)],
                   check=True, stdout=subprocess.DEVNULL)


def run_process(argv, env=None):
    """Runs argv; returns (wall seconds, processor seconds, peak kilobytes) as it
    reports them. Fails loudly."""
    done = subprocess.run(argv, env=env, capture_output=True, text=True)
    if done.returncode != 0:
        sys.exit("%s failed (%d): %s" % (" ".join(argv), done.returncode, done.stderr.strip()))
    fields = dict(part.split("=", 1) for part in done.stdout.split() if "=" in part)
    return float(fields["seconds"]), float(fields["cpu"]), int(fields["peak_kb"])


def compare_writers(bin_dir, counts, runs, scratch, baseline_bin=None):
    """{writer: {n: (median wall s, median processor s, max peak kB)}} from fresh processes.
    Writers: ours (whole run), ours' layout, save and reopen stages, the peers, and the
    baseline's whole run and stages when given."""
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", TEMP=scratch, XDG_CONFIG_HOME=scratch)

    def once(bin_path, stage):
        return lambda n: [os.path.join(bin_path, "commission_bench"), "--once", stage, str(n)]

    writers = {"ours": once(bin_dir, "run")}
    for stage in ("layout", "save", "reopen"):
        writers["ours " + stage] = once(bin_dir, stage)
    writers["libxlsxwriter"] = lambda n: [os.path.join(bin_dir, "xlsxwriter_commission"), str(n),
                                          os.path.join(scratch, "peer.xlsx")]
    writers["xlwt"] = lambda n: [DEBIAN_PYTHON, os.path.join(HERE, "peers", "xlwt_commission.py"), str(n),
                                 os.path.join(scratch, "peer.xls")]
    if baseline_bin:
        writers["before"] = once(baseline_bin, "run")
        for stage in ("layout", "save", "reopen"):
            writers["before " + stage] = once(baseline_bin, stage)
    results = {name: {} for name in writers}
    for n in counts:
        samples = {name: [] for name in writers}
        for _ in range(runs):
            for name, argv in writers.items():
                samples[name].append(run_process(argv(n), env))
        for name, values in samples.items():
            results[name][n] = (statistics.median(v[0] for v in values), statistics.median(v[1] for v in values),
                                max(v[2] for v in values))
        print("  %d records done" % n, file=sys.stderr)
    return results


def without_picture(writers, who, n):
    """(wall s, processor s, peak kB) of the whole run without its picture step: the
    sum of the layout, save and reopen stages, and the reopen stage's peak."""
    stages = [writers["%s %s" % (who, stage)][n] for stage in ("layout", "save", "reopen")]
    return sum(s[0] for s in stages), sum(s[1] for s in stages), stages[2][2]


def our_stages(bin_dir, counts, runs, scratch):
    """{(stage, n): median ms} and (start-to-window ms, processor ms, peak kB) from the
    benchmark program."""
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", TEMP=scratch, XDG_CONFIG_HOME=scratch)
    wanted = "|".join(STAGES)
    sizes = "|".join(str(n) for n in counts)
    pattern = "^((%s)/(%s)/|StartToWindow)" % (wanted, sizes)
    report = subprocess.run(
        [os.path.join(bin_dir, "commission_bench"), "--benchmark_filter=" + pattern,
         "--benchmark_repetitions=%d" % runs, "--benchmark_report_aggregates_only=true",
         "--benchmark_format=json"],
        check=True, env=env, capture_output=True, text=True)
    stages, start = {}, None
    for entry in json.loads(report.stdout)["benchmarks"]:
        if entry.get("error_occurred"):
            sys.exit("%s: %s" % (entry["name"], entry.get("error_message")))
        if entry.get("aggregate_name") != "median":
            continue
        name = entry["run_name"]
        ms = entry["real_time"]  # the benchmarks report milliseconds
        if name.startswith("StartToWindow"):
            start = (ms, entry.get("cpu_ms", 0), entry.get("peak_MB", 0) * 1024)
        else:
            stage, n = name.split("/")[:2]
            stages[(stage, int(n))] = ms
    return stages, start


def machine():
    cpu = "unknown CPU"
    with open("/proc/cpuinfo") as info:
        for line in info:
            if line.startswith("model name"):
                cpu = line.split(":", 1)[1].strip()
                break
    distribution = ""
    if os.path.exists("/etc/debian_version"):
        with open("/etc/debian_version") as version:
            distribution = "Debian " + version.read().strip()
    load = os.getloadavg()
    return "%s, %d cores, %s, kernel %s; load average at the end %.1f / %.1f / %.1f" % (
        cpu, os.cpu_count() or 0, distribution, platform.release(), *load)


def ms(seconds):
    return "%.1f" % (seconds * 1000) if seconds < 10 else "%.0f" % (seconds * 1000)


def fmt_ms(value):
    return "%.1f" % value if value < 10000 else "%.0f" % value


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--build", default=os.path.join(SOURCE, "build-bench"))
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--records", default="3,100,1000,32767")
    parser.add_argument("--no-build", action="store_true")
    parser.add_argument("--baseline", help="build folder of the program before a change, measured alongside")
    parser.add_argument("--callgrind", action="store_true", help="count the layout's instructions per call too")
    args = parser.parse_args()
    counts = [int(n) for n in args.records.split(",")]
    bin_dir = os.path.join(args.build, "bin")
    baseline_bin = os.path.join(args.baseline, "bin") if args.baseline else None

    if not args.no_build:
        print("building in %s ..." % args.build, file=sys.stderr)
        build(args.build)
    load_before = os.getloadavg()
    started = time.time()
    with tempfile.TemporaryDirectory() as scratch:
        print("our stages ...", file=sys.stderr)
        stages, start = our_stages(bin_dir, counts, args.runs, scratch)
        print("writers, fresh processes ...", file=sys.stderr)
        writers = compare_writers(bin_dir, counts, args.runs, scratch, baseline_bin)
    calls = {}
    if args.callgrind:
        print("callgrind ...", file=sys.stderr)
        for who, path in (("ours", bin_dir), ("before", baseline_bin)):
            if path:
                calls[who] = {n: layout_calls.profile_layout(path, n) for n in counts}

    print("Machine: %s (load average at the start %.1f)." % (machine(), load_before[0]))
    print("Medians of %d runs; %.0f s in all.\n" % (args.runs, time.time() - started))
    print("Our stages (ms, in one process, warm):\n")
    print("| Records | Layout | Save .xls | Reopen | Picture | Whole run |")
    print("|---:|---:|---:|---:|---:|---:|")
    for n in counts:
        print("| %s | %s |" % ("{:,}".format(n), " | ".join(fmt_ms(stages[(s, n)]) for s in STAGES)))
    print("\nStart to main window shown (launch to exit of the start-up probe): %.1f ms wall clock, "
          "%.1f ms processor time, peak %.0f MB.\n" % (start[0], start[1], start[2] / 1024))

    print("Whole run against the peers (ms of wall-clock time / processor time, and peak MB; "
          "one fresh process per run). Ours with the picture step, and without it (the layout, "
          "save and reopen stages, each in a fresh process):\n")
    print("| Records | Ours | Peak MB | Ours without picture | Peak MB | libxlsxwriter: write .xlsx | Peak MB "
          "| xlwt: write .xls | Peak MB | libxlsxwriter ÷ ours | xlwt ÷ ours |")
    print("|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|")
    for n in counts:
        o, x, w = writers["ours"][n], writers["libxlsxwriter"][n], writers["xlwt"][n]
        p = without_picture(writers, "ours", n)
        print("| %s | %s / %s | %.0f | %s / %s | %.0f | %s / %s | %.0f | %s / %s | %.0f | %.1f / %.1f (%.1f) "
              "| %.1f / %.1f (%.1f) |" % (
                  "{:,}".format(n), ms(o[0]), ms(o[1]), o[2] / 1024, ms(p[0]), ms(p[1]), p[2] / 1024,
                  ms(x[0]), ms(x[1]), x[2] / 1024, ms(w[0]), ms(w[1]), w[2] / 1024,
                  x[0] / o[0], x[1] / o[1], x[1] / p[1], w[0] / o[0], w[1] / o[1], w[1] / p[1]))
    print("\n(ratios: wall clock / processor time of the whole run, and in brackets processor time "
          "without the picture step)")

    if baseline_bin:
        print("\nBefore and after, fresh processes (ms of processor time, peak MB):\n")
        print("| Records | Layout | Save .xls | Reopen | Without picture | Peak MB | Whole run | Peak MB |")
        print("|---:|---:|---:|---:|---:|---:|---:|---:|")
        for n in counts:
            row = []
            for stage in ("layout", "save", "reopen"):
                row.append("%s → %s" % (ms(writers["before " + stage][n][1]), ms(writers["ours " + stage][n][1])))
            b, o = without_picture(writers, "before", n), without_picture(writers, "ours", n)
            row.append("%s → %s" % (ms(b[1]), ms(o[1])))
            row.append("%.0f → %.0f" % (b[2] / 1024, o[2] / 1024))
            row.append("%s → %s" % (ms(writers["before"][n][1]), ms(writers["ours"][n][1])))
            row.append("%.0f → %.0f" % (writers["before"][n][2] / 1024, writers["ours"][n][2] / 1024))
            print("| %s | %s |" % ("{:,}".format(n), " | ".join(row)))

    if calls:
        print("\nThe layout under callgrind (instructions, object-model calls, instructions per call):\n")
        print("| Records | %s |" % " | ".join(who.capitalize() for who in calls))
        print("|---:|" + "---:|" * len(calls))
        for n in counts:
            cells = ["{:,} / {:,} / {:.0f}".format(i, c, i / c if c else 0) for i, c in (calls[w][n] for w in calls)]
            print("| %s | %s |" % ("{:,}".format(n), " | ".join(cells)))

    big, small = max(counts), min(counts)
    checks = []
    for n in sorted({small, 1000, big} & set(counts)):
        o, p, x = writers["ours"][n][1], without_picture(writers, "ours", n)[1], writers["libxlsxwriter"][n][1]
        limit, what = (2 * x, "at most twice") if n == small and n < 1000 else (x, "at or below")
        checks.append(("whole run, %d records, %s libxlsxwriter's processor time" % (n, what), o <= limit))
        checks.append(("the same without the picture step", p <= limit))
    o, w = writers["ours"][big][1], writers["xlwt"][big][1]
    checks.append(("whole run, %d records, at least 12 times faster than xlwt" % big, w / o >= 12))
    checks.append(("the same without the picture step", w / without_picture(writers, "ours", big)[1] >= 12))
    checks.append(("peak memory, %d records, under 64 MB" % big, writers["ours"][big][2] / 1024 < 64))
    checks.append(("the same without the picture step", without_picture(writers, "ours", big)[2] / 1024 < 64))
    if "ours" in calls:
        i, c = calls["ours"][big]
        checks.append(("layout, %d records, under 150 instructions per object-model call" % big, c and i / c < 150))
    checks.append(("start to window under 300 ms", start[0] < 300))
    print("\nTargets:\n")
    for text, met in checks:
        print("- %s: %s" % (text, "met" if met else "MISSED"))


if __name__ == "__main__":
    main()
