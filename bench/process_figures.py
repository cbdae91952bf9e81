#!/usr/bin/env python3
# Whole-process figures of the batch jobs: median wall time and peak resident memory of
# "wvelk FILE /I /NOGUI", "wvelk FILE /CAD1:7 /NOGUI" and "wvelk FILE /SVG:7 /NOGUI", side by
# side with /bin/true. Usage: bench/process_figures.py [wvelk] [runs]
import os, shutil, statistics, subprocess, sys, tempfile, time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
wvelk = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build", "app", "wvelk")
runs = int(sys.argv[2]) if len(sys.argv) > 2 else 50
example = os.path.join(ROOT, "share", "examples", "drahtfeder_dynamisch.vlk")


def measure(argv, cwd):
    """Median wall time in ms (started from here) and peak resident memory in MiB (GNU time,
    a small C parent, so the figure is the program's own and not a forked interpreter's)."""
    times, peaks = [], []
    for _ in range(runs):
        start = time.perf_counter()
        code = subprocess.call(argv, cwd=cwd, env=ENV, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        times.append(time.perf_counter() - start)
        if code != 0:
            sys.exit("%s exited with %d" % (" ".join(argv), code))
        r = subprocess.run(["/usr/bin/time", "-f", "%M"] + argv, cwd=cwd, env=ENV, stdout=subprocess.DEVNULL,
                           stderr=subprocess.PIPE, text=True)
        peaks.append(int(r.stderr.strip().splitlines()[-1]))
    return statistics.median(times) * 1000, max(peaks) / 1024


wvelk = os.path.abspath(wvelk)
with tempfile.TemporaryDirectory() as work:
    # A configuration folder of the run's own: the user's configuration never changes a figure.
    ENV = dict(os.environ, VELK_CONFIG_DIR=os.path.join(work, "config"))
    shutil.copy(example, os.path.join(work, "feder.vlk"))
    jobs = [("/bin/true", ["/bin/true"]),
            ("wvelk feder.vlk /I /NOGUI", [wvelk, "feder.vlk", "/I", "/NOGUI"]),
            ("wvelk feder.vlk /CAD1:7 /NOGUI", [wvelk, "feder.vlk", "/CAD1:7", "/NOGUI"]),
            ("wvelk feder.vlk /SVG:7 /NOGUI", [wvelk, "feder.vlk", "/SVG:7", "/NOGUI"])]
    print("%-34s %12s %14s" % ("process (%d runs)" % runs, "median ms", "peak RSS MiB"))
    for name, argv in jobs:
        ms, mib = measure(argv, work)
        print("%-34s %12.2f %14.1f" % (name, ms, mib))
