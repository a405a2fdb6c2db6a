#!/usr/bin/env python3
"""The settings search as typed, `vardelmo --find --port P`, timed from the process's start to
its exit against virtual scales started here: one that never answers (the whole search, every
settings text tried up to its bound), and one at 9600,n,8,1 answering 3 ms after an enquiry
(found on the second try, after the first has waited out its bound). Each run's exit status and
output are checked, so a fast wrong answer stops the benchmark. Prints one JSON object.

Usage: find.py TOOL SCALE [SILENT RUNS, default 3] [FOUND RUNS, default 10]
"""
import json
import os
import select
import statistics
import subprocess
import sys
import tempfile
import time

BOUND_S = 0.6  # a try's longest wait, --find's default
TIMEOUT_S = 60.0


class Scale:
    """A virtual scale on a link of its own, from its first line printed until stopped."""

    def __init__(self, program, link, *options):
        self.process = subprocess.Popen([program, "--link", link, *options],
                                        stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                        stderr=subprocess.DEVNULL)
        ready, _, _ = select.select([self.process.stdout], [], [], 10)
        if not ready or not self.process.stdout.readline():
            self.stop()
            raise RuntimeError(f"the virtual scale {' '.join(options)} did not start")

    def stop(self):
        self.process.terminate()
        self.process.wait(10)

    def __enter__(self):
        return self

    def __exit__(self, *_):
        self.stop()


def search(tool, link):
    """One `vardelmo --find`: seconds from start to exit, exit status, stdout, stderr."""
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "QT_QPA_PLATFORM")}
    started = time.monotonic()
    done = subprocess.run([tool, "--find", "--port", link], env=env, capture_output=True,
                          text=True, timeout=TIMEOUT_S)
    return time.monotonic() - started, done.returncode, done.stdout, done.stderr


def figures(seconds):
    return {"runs_ms": [round(s * 1000, 1) for s in seconds],
            "median_ms": statistics.median(seconds) * 1000, "max_ms": max(seconds) * 1000}


def main():
    tool, scale = sys.argv[1], sys.argv[2]
    silent_runs = int(sys.argv[3]) if len(sys.argv) > 3 else 3
    found_runs = int(sys.argv[4]) if len(sys.argv) > 4 else 10
    result = {}
    with tempfile.TemporaryDirectory(prefix="vardelmo-find-") as folder:
        link = os.path.join(folder, "scale")

        with Scale(scale, link, "--state", "silent"):
            seconds, tries = [], set()
            for _ in range(silent_runs):
                took, status, out, err = search(tool, link)
                lines = err.splitlines()
                if status != 1 or out or not lines or "Nenhuma das" not in lines[-1]:
                    raise RuntimeError(f"silent port: exit {status}, out {out!r}, err {err!r}")
                tries.add(len(lines) - 1)  # one line a try, then the failure
                seconds.append(took)
            if len(tries) != 1:
                raise RuntimeError(f"silent port: the searches made {sorted(tries)} tries")
            result["silent"] = figures(seconds) | {"tries": tries.pop()}
            result["silent"]["bound_ms"] = result["silent"]["tries"] * BOUND_S * 1000 * 1.1

        with Scale(scale, link, "--line", "9600,n,8,1", "--delay", "3"):
            seconds = []
            for _ in range(found_runs):
                took, status, out, err = search(tool, link)
                if status != 0 or out != "9600,n,8,1\n":
                    raise RuntimeError(f"scale at 9600: exit {status}, out {out!r}, err {err!r}")
                seconds.append(took)
            result["found"] = figures(seconds)
    json.dump(result, sys.stdout, indent=1)
    print()


if __name__ == "__main__":
    main()
