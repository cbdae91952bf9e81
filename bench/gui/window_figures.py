#!/usr/bin/env python3
# Start-up of the window as a whole process: median wall time from the start of "wvelk FILE" to
# its first painted window on the offscreen platform, and the resident memory of the idle window
# with the spring loaded. Usage: bench/gui/window_figures.py [wvelk] [runs]
import os, re, shutil, statistics, subprocess, sys, tempfile, time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
wvelk = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build", "app", "wvelk"))
runs = int(sys.argv[2]) if len(sys.argv) > 2 else 20
example = os.path.join(ROOT, "share", "examples", "drahtfeder_dynamisch.vlk")

env = dict(os.environ, QT_QPA_PLATFORM="offscreen", VELK_EXIT_AFTER_PAINT="1")
times, rss = [], []
with tempfile.TemporaryDirectory() as work:
    shutil.copy(example, os.path.join(work, "feder.vlk"))
    env.setdefault("XDG_RUNTIME_DIR", work)
    # A configuration folder of the run's own: the user's configuration never changes a figure.
    env["VELK_CONFIG_DIR"] = os.path.join(work, "config")
    for _ in range(runs):
        start = time.perf_counter()
        r = subprocess.run([wvelk, "feder.vlk"], cwd=work, env=env, stdout=subprocess.DEVNULL,
                           stderr=subprocess.PIPE, text=True, timeout=60)
        times.append(time.perf_counter() - start)
        m = re.search(r"painted; (\d+) KiB resident", r.stderr)
        if r.returncode != 0 or not m:
            sys.exit("wvelk exited with %d: %s" % (r.returncode, r.stderr))
        rss.append(int(m.group(1)))
print("start-up to the first painted window, median of %d: %.1f ms" % (runs, statistics.median(times) * 1000))
print("resident memory of the idle window, largest: %.1f MiB" % (max(rss) / 1024))
