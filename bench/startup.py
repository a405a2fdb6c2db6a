#!/usr/bin/env python3
"""Start-up time to the window mapped under Xvfb, and peak resident memory, for the tool
and for Debian's cutecom started the same way in the same run; and for commands that need no
window (vardelmo --query, --version), the time from the process's start to its exit, with no
display in their environment. Prints one JSON object.

Usage: startup.py RUNS PROGRAM [PROGRAM...] [--to-exit PROGRAM...]   (a program is NAME=COMMAND)
"""
import ctypes
import json
import os
import select
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

MAP_NOTIFY = 19
SUBSTRUCTURE_NOTIFY_MASK = 1 << 19
SETTLE_S = 1.0  # after the map, so lazily loaded parts count in the peak as well
TIMEOUT_S = 20.0

x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
x11.XPending.argtypes = [ctypes.c_void_p]
x11.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
x11.XConnectionNumber.argtypes = [ctypes.c_void_p]
x11.XFlush.argtypes = [ctypes.c_void_p]


class XMapEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("event", ctypes.c_ulong),
                ("window", ctypes.c_ulong), ("override_redirect", ctypes.c_int)]


class XEvent(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("xmap", XMapEvent), ("pad", ctypes.c_long * 24)]


def start_xvfb():
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24",
                             "-nolisten", "tcp"], pass_fds=[write_end],
                            stderr=subprocess.DEVNULL)
    os.close(write_end)
    number = b""
    while not number.endswith(b"\n"):
        chunk = os.read(read_end, 16)
        if not chunk:
            raise RuntimeError("Xvfb did not start")
        number += chunk
    os.close(read_end)
    return xvfb, ":" + number.decode().strip()


def peak_kb(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    return None


def one_start(display, root, command, env):
    connection = x11.XConnectionNumber(display)
    event = XEvent()
    while x11.XPending(display):  # anything left from an earlier run
        x11.XNextEvent(display, ctypes.byref(event))
    started = time.monotonic()
    child = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL)
    mapped = None
    deadline = started + TIMEOUT_S
    while mapped is None and time.monotonic() < deadline:
        if not x11.XPending(display):
            select.select([connection], [], [], 0.05)
        while mapped is None and x11.XPending(display):
            x11.XNextEvent(display, ctypes.byref(event))
            # Menus and tooltips bypass the window manager; the main window does not.
            if event.type == MAP_NOTIFY and not event.xmap.override_redirect:
                mapped = time.monotonic()
    time.sleep(SETTLE_S)
    peak = peak_kb(child.pid) if child.poll() is None else None
    child.send_signal(signal.SIGTERM)
    try:
        child.wait(5)
    except subprocess.TimeoutExpired:
        child.kill()
        child.wait()
    if mapped is None or peak is None:
        raise RuntimeError(f"{command[0]} did not map a window")
    return (mapped - started) * 1000, peak / 1024


def one_run_to_exit(command, env):
    started = time.monotonic()
    child = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    ended = time.monotonic()
    child.returncode = os.waitstatus_to_exitcode(status)
    # 4 is a query that read before the scale answered (--wait 0): a start-up all the same.
    if child.returncode not in (0, 4):
        raise RuntimeError(f"{' '.join(command)} exited {child.returncode}")
    return (ended - started) * 1000, usage.ru_maxrss / 1024


def main():
    runs = int(sys.argv[1])
    arguments = sys.argv[2:]
    to_exit = []
    if "--to-exit" in arguments:
        split = arguments.index("--to-exit")
        arguments, to_exit = arguments[:split], arguments[split + 1:]
    programs = [arg.split("=", 1) for arg in arguments]
    exiting = [arg.split("=", 1) for arg in to_exit]
    xvfb, name = start_xvfb()
    home = tempfile.mkdtemp(prefix="vardelmo-startup-")
    try:
        display = x11.XOpenDisplay(name.encode())
        if not display:
            raise RuntimeError("cannot open " + name)
        root = x11.XDefaultRootWindow(display)
        x11.XSelectInput(display, root, SUBSTRUCTURE_NOTIFY_MASK)
        x11.XFlush(display)
        # The same surroundings for every program: one display, one fresh home, Qt on X11.
        env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "DISPLAY": name, "HOME": home,
               "XDG_RUNTIME_DIR": home, "QT_QPA_PLATFORM": "xcb", "LANG": "C.UTF-8"}
        # No display at all for the commands that must not need one.
        headless = {k: v for k, v in env.items() if k != "DISPLAY" and k != "QT_QPA_PLATFORM"}
        samples = {label: ([], []) for label, _ in programs + exiting}
        for label, command in programs:  # a first start fills the font and file caches
            one_start(display, root, command.split(), env)
        for label, command in exiting:
            one_run_to_exit(command.split(), headless)
        for _ in range(runs):  # interleaved, so a busy moment hits every program alike
            for label, command in programs:
                ms, mb = one_start(display, root, command.split(), env)
                samples[label][0].append(ms)
                samples[label][1].append(mb)
            for label, command in exiting:
                ms, mb = one_run_to_exit(command.split(), headless)
                samples[label][0].append(ms)
                samples[label][1].append(mb)
        result = {label: {"startup_ms": statistics.median(ms), "peak_mb": statistics.median(mb),
                          "startup_all_ms": [round(v, 1) for v in ms],
                          "peak_all_mb": [round(v, 1) for v in mb]}
                  for label, (ms, mb) in samples.items()}
        print(json.dumps(result))
    finally:
        xvfb.terminate()
        xvfb.wait()
        shutil.rmtree(home, ignore_errors=True)


if __name__ == "__main__":
    main()
