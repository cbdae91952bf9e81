#!/usr/bin/env python3
# Whole-process figures of the batch jobs: the CPU time (user + system) of each job as a ratio to
# a do-nothing C++ process (int main, libstdc++ linked), median of interleaved runs, its median
# wall time and its peak resident memory, for one or more builds of wvelk side by side (e.g. one
# before and one after a change). The do-nothing program is compiled here with c++ -O2.
# Usage: bench/process_figures.py [--runs N] [--example FILE] [wvelk ...]
import argparse, os, resource, shutil, statistics, subprocess, sys, tempfile, time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
parser = argparse.ArgumentParser()
parser.add_argument("--runs", type=int, default=30)
parser.add_argument("--example", default=os.path.join(ROOT, "share", "examples", "uhrfeder.vlk"))
parser.add_argument("wvelk", nargs="*", default=[os.path.join(ROOT, "build", "app", "wvelk")])
opts = parser.parse_args()

JOBS = ["/I", "/JSON", "/CAD1:7", "/SVG:1", "/XLSX", "/PDF:1", "/STEP"]


def run_once(argv, cwd, env):
    """(CPU seconds, wall seconds) of one run of argv, from wait4's resource usage."""
    start = time.perf_counter()
    proc = subprocess.Popen(argv, cwd=cwd, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(proc.pid, 0)
    wall = time.perf_counter() - start
    proc.returncode = os.waitstatus_to_exitcode(status)
    if proc.returncode != 0:
        sys.exit("%s exited with %d" % (" ".join(argv), proc.returncode))
    return usage.ru_utime + usage.ru_stime, wall


def peak_kib(argv, cwd, env):
    """Peak resident memory of argv in KiB, through GNU time (a small C parent: a child forked from
    this interpreter would count the interpreter's pages too)."""
    r = subprocess.run(["/usr/bin/time", "-f", "%M"] + argv, cwd=cwd, env=env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.PIPE, text=True)
    return int(r.stderr.strip().splitlines()[-1])


with tempfile.TemporaryDirectory() as work:
    nothing = os.path.join(work, "nothing")
    subprocess.run(["c++", "-O2", "-x", "c++", "-", "-o", nothing], check=True,
                   input="#include <iostream>\nint main() { std::cout.flush(); }\n", text=True)
    # A configuration folder of the run's own: the user's configuration never changes a figure.
    env = dict(os.environ, VELK_CONFIG_DIR=os.path.join(work, "config"))
    for k in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"):
        env.pop(k, None)
    shutil.copy(opts.example, os.path.join(work, "feder.vlk"))
    cases = [("do-nothing C++", [nothing])]
    for i, w in enumerate(opts.wvelk):
        w = os.path.abspath(w)
        for job in JOBS:
            cases.append(("%d %s" % (i + 1, job), [w, "feder.vlk", job, "/NOGUI"] if job != "/PDF:1" and job != "/STEP"
                          else [w, "feder.vlk", job]))
    samples = {name: [] for name, _ in cases}
    peaks = {name: [] for name, _ in cases}
    for r in range(opts.runs):
        # Interleaved, and each round in another order, so load changes touch every case alike.
        order = cases[r % len(cases):] + cases[:r % len(cases)]
        for name, argv in order:
            samples[name].append(run_once(argv, work, env))
            if r < 3:
                peaks[name].append(peak_kib(argv, work, env))

    base_cpu = statistics.median(s[0] for s in samples["do-nothing C++"])
    for i, w in enumerate(opts.wvelk):
        print("%d = %s" % (i + 1, os.path.abspath(w)))
    print("load average before the last round: %.2f %.2f %.2f" % os.getloadavg())
    print("%-22s %12s %10s %12s %14s" % ("job (%d runs)" % opts.runs, "median CPU ms", "x nothing",
                                          "median ms", "peak RSS MiB"))
    for name, _ in cases:
        cpu = statistics.median(s[0] for s in samples[name])
        wall = statistics.median(s[1] for s in samples[name])
        peak = max(peaks[name]) / 1024
        print("%-22s %12.2f %10.2f %12.2f %14.1f" % (name, cpu * 1000, cpu / base_cpu, wall * 1000, peak))
