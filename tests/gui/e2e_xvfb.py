#!/usr/bin/env python3
# End to end: the real wvelk on a virtual X server, driven by keyboard input only. Opens an
# example (Ctrl+O, the path typed into the file chooser), changes the view through the View menu,
# switches the language, opens and closes the configuration dialog, leaves through File -> Exit,
# then checks the exit code and the recent-files file.
# Usage: e2e_xvfb.py WVELK EXAMPLE.vlk   (exit 77: Xvfb or xdotool missing, the test is skipped)
import os, shutil, subprocess, sys, tempfile, time

wvelk, example = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
for tool in ("Xvfb", "xdotool"):
    if not shutil.which(tool):
        print("%s is not installed" % tool)
        sys.exit(77)


def fail(msg):
    print("FAIL:", msg)
    sys.exit(1)


def xdo(*args, check=True):
    r = subprocess.run(["xdotool"] + list(args), env=env, capture_output=True, text=True, timeout=30)
    if check and r.returncode != 0:
        fail("xdotool %s: %s" % (" ".join(args), r.stderr.strip()))
    return r.stdout.strip()


def windows():
    """Visible windows of the program, by id, with their names."""
    r = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(prog.pid)], env=env,
                       capture_output=True, text=True, timeout=30)
    out = {}
    for w in r.stdout.split():
        name = subprocess.run(["xdotool", "getwindowname", w], env=env, capture_output=True,
                              text=True).stdout.strip()
        out[w] = name
    return out


def wait_for(what, test, timeout=20):
    end = time.time() + timeout
    while time.time() < end:
        if prog.poll() is not None:
            fail("wvelk ended (%s) while waiting for %s" % (prog.returncode, what))
        found = test(windows())
        if found:
            return found
        time.sleep(0.1)
    fail("timed out waiting for %s; windows: %s" % (what, windows()))


def keys(*ks):
    for k in ks:
        xdo("key", "--clearmodifiers", k)
        time.sleep(0.25)


work = tempfile.mkdtemp(prefix="velk-e2e-")
try:
    shutil.copy(example, os.path.join(work, "feder.vlk"))
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    display = xvfb.stdout.readline().decode().strip()
    if not display:
        fail("Xvfb did not start")
    # The configuration and the recent files go to a folder of this run, never the user's own.
    config_dir = os.path.join(work, "config")
    env = dict(os.environ, DISPLAY=":" + display, HOME=work, XDG_RUNTIME_DIR=work, VELK_CONFIG_DIR=config_dir)
    env.pop("WAYLAND_DISPLAY", None)
    env.pop("QT_QPA_PLATFORM", None)
    prog = subprocess.Popen([wvelk], cwd=work, env=env)
    try:
        main = wait_for("the main window", lambda ws: next((w for w, n in ws.items() if "VELK" in n), None))
        xdo("windowfocus", "--sync", main, check=False)
        time.sleep(0.5)

        # File -> Open: the file chooser opens over the main window; the path is typed.
        keys("ctrl+o")
        chooser = wait_for("the file chooser", lambda ws: next((w for w in ws if w != main), None))
        xdo("windowfocus", "--sync", chooser, check=False)
        time.sleep(0.3)
        xdo("type", "--delay", "10", os.path.join(work, "feder.vlk"))
        keys("Return")
        wait_for("the spring's name in the caption", lambda ws: "feder" in ws.get(main, ""))
        wait_for("the chooser to close", lambda ws: list(ws) == [main])
        xdo("windowfocus", "--sync", main, check=False)

        # View -> Goodman diagram (German menu: &Ansicht, &Goodman-Diagramm).
        keys("alt+a", "g")
        # Help -> menu language -> English (&Hilfe, Menü &Sprache, &English).
        keys("alt+h", "s", "e")
        # File -> Settings opens the configuration dialog; Esc closes it.
        keys("alt+f", "t")
        config = wait_for("the configuration dialog", lambda ws: next((w for w in ws if w != main), None))
        xdo("windowfocus", "--sync", config, check=False)
        keys("Escape")
        wait_for("the configuration dialog to close", lambda ws: list(ws) == [main])
        xdo("windowfocus", "--sync", main, check=False)
        # File -> Exit (English now: &File, E&xit).
        keys("alt+f", "x")
        try:
            code = prog.wait(timeout=20)
        except subprocess.TimeoutExpired:
            fail("wvelk did not end after File -> Exit; windows: %s" % windows())
        if code != 0:
            fail("exit code %d" % code)
        recent = open(os.path.join(config_dir, "velk.cff"), encoding="latin-1").read()
        if os.stat(config_dir).st_mode & 0o777 != 0o700:
            fail("the configuration folder is not private: %o" % (os.stat(config_dir).st_mode & 0o777))
        if os.path.exists(os.path.join(work, "velk.cff")):
            fail("the recent files were written into the working folder")
        if os.path.join(work, "feder.vlk") not in recent:
            fail("the recent-files file does not name the opened file: %r" % recent)
        print("PASS")
    finally:
        if prog.poll() is None:
            prog.kill()
        xvfb.terminate()
        xvfb.wait(timeout=10)
finally:
    shutil.rmtree(work, ignore_errors=True)
