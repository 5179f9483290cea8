#!/usr/bin/python3
"""Builds the benchmarks and the peers, runs them in one go on the same record
counts, and prints the tables of times, ratios and peak memory as Markdown.

    bench/compare.py [--build DIR] [--runs K] [--records 3,100,1000,32767] [--no-build]

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


def compare_writers(bin_dir, counts, runs, scratch):
    """{writer: {n: (median wall s, median processor s, max peak kB)}} from fresh processes."""
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", TEMP=scratch, XDG_CONFIG_HOME=scratch)
    writers = {
        "ours": lambda n: [os.path.join(bin_dir, "commission_bench"), "--once", "run", str(n)],
        "libxlsxwriter": lambda n: [os.path.join(bin_dir, "xlsxwriter_commission"), str(n),
                                    os.path.join(scratch, "peer.xlsx")],
        "xlwt": lambda n: [DEBIAN_PYTHON, os.path.join(HERE, "peers", "xlwt_commission.py"), str(n),
                           os.path.join(scratch, "peer.xls")],
    }
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
    args = parser.parse_args()
    counts = [int(n) for n in args.records.split(",")]
    bin_dir = os.path.join(args.build, "bin")

    if not args.no_build:
        print("building in %s ..." % args.build, file=sys.stderr)
        build(args.build)
    load_before = os.getloadavg()
    started = time.time()
    with tempfile.TemporaryDirectory() as scratch:
        print("our stages ...", file=sys.stderr)
        stages, start = our_stages(bin_dir, counts, args.runs, scratch)
        print("writers, fresh processes ...", file=sys.stderr)
        writers = compare_writers(bin_dir, counts, args.runs, scratch)

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
          "one fresh process per run):\n")
    print("| Records | Ours: layout, save, reopen, picture | Peak MB | libxlsxwriter: write .xlsx | Peak MB "
          "| xlwt: write .xls | Peak MB | libxlsxwriter ÷ ours | xlwt ÷ ours |")
    print("|---:|---:|---:|---:|---:|---:|---:|---:|---:|")
    for n in counts:
        o, x, w = writers["ours"][n], writers["libxlsxwriter"][n], writers["xlwt"][n]
        print("| %s | %s / %s | %.0f | %s / %s | %.0f | %s / %s | %.0f | %.1f / %.1f | %.1f / %.1f |" % (
            "{:,}".format(n), ms(o[0]), ms(o[1]), o[2] / 1024, ms(x[0]), ms(x[1]), x[2] / 1024,
            ms(w[0]), ms(w[1]), w[2] / 1024, x[0] / o[0], x[1] / o[1], w[0] / o[0], w[1] / o[1]))

    big, small = max(counts), min(counts)
    o, x, w = writers["ours"][big], writers["libxlsxwriter"][big], writers["xlwt"][big]
    checks = [
        ("whole run, %d records, faster than libxlsxwriter" % big, o[0] < x[0]),
        ("whole run, %d records, at least 10 times faster than xlwt" % big, w[0] / o[0] >= 10),
        ("whole run, %d records, under 30 ms" % small, writers["ours"][small][0] < 0.030),
        ("start to window under 300 ms", start[0] < 300),
        ("peak memory, %d records, under 200 MB" % big, o[2] / 1024 < 200),
    ]
    print("\nTargets:\n")
    for text, met in checks:
        print("- %s: %s" % (text, "met" if met else "MISSED"))


if __name__ == "__main__":
    main()
