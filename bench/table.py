#!/usr/bin/env python3
"""Prints the benchmark table from bench/run's results; exits 1 when a target is missed."""
import json
import os
import sys


def benchmarks(path):
    with open(path) as f:
        return {b["name"]: b for b in json.load(f)["benchmarks"]}


def find(results, prefix):
    for name, bench in results.items():
        if name.startswith(prefix):
            return bench
    raise KeyError(prefix)


def main():
    out = sys.argv[1]
    request = benchmarks(os.path.join(out, "request.json"))
    pacing = benchmarks(os.path.join(out, "pacing.json"))
    window = benchmarks(os.path.join(out, "window.json"))
    watch = benchmarks(os.path.join(out, "watch.json"))
    decode = benchmarks(os.path.join(out, "decode.json"))
    with open(os.path.join(out, "startup.json")) as f:
        startup = json.load(f)
    with open(os.path.join(out, "find.json")) as f:
        find_runs = json.load(f)

    rows = []  # metric, value, target text, passed (None: reported only)

    def row(metric, value, unit, limit=None, beside=None, beside_name=""):
        target = "-"
        passed = None
        if limit is not None:
            target = f"<= {limit:g} {unit}"
            passed = value <= limit
        if beside is not None:
            target += f", < {beside_name} ({beside:.1f} {unit})"
            passed = (passed is None or passed) and value < beside
        rows.append((metric, f"{value:.3f} {unit}" if value < 10 else f"{value:.1f} {unit}",
                     target, passed))

    over = find(request, "requestOverhead")
    row("request, wait 0: median", over["tool_median_us"] / 1000, "ms", 1)
    row("request, wait 0: p99", over["tool_p99_us"] / 1000, "ms", 3)
    row("bare termios floor: median", over["termios_median_us"] / 1000, "ms")
    row("bare termios floor: p99", over["termios_p99_us"] / 1000, "ms")
    rows.append(("request / floor (medians)", f"{over['ratio_median']:.1f} x", "-", None))
    net = find(request, "socketRequestOverhead")
    # The same request over socket:// on loopback, beside the local one above.
    row("request over socket:// (loopback), wait 0: median", net["tool_median_us"] / 1000, "ms")
    row("request over socket:// (loopback), wait 0: p99", net["tool_p99_us"] / 1000, "ms")
    row("bare sockets floor: median", net["sockets_median_us"] / 1000, "ms")
    rows.append(("socket:// request / floor (medians)", f"{net['ratio_median']:.1f} x", "-", None))
    for wait in (5, 20, 100):
        w = find(request, f"waitAccuracy/{wait}/")
        row(f"wait {wait} ms, read late by: median", w["late_median_ms"], "ms", 1)
        row(f"wait {wait} ms, read late by: p99", w["late_p99_ms"], "ms", 2)
    period = find(watch, "watchPeriod/100/50/")
    # Every 100 ms, requests of 50 ms: how far each start lands from its slot.
    row("watch period error, median", period["error_median_ms"], "ms", 1)
    row("watch period error, p99", period["error_p99_ms"], "ms", 3)
    row("watch requests' own 50 ms wait, ended late by: p99", period["wake_late_p99_ms"], "ms")
    busy, idle = find(window, "windowStall/1/"), find(window, "windowStall/0/")
    row("window loop, longest stall in a request (wait 300 ms): median",
        busy["stall_median_ms"], "ms", 16)
    row("window loop, longest stall in a request (wait 300 ms): worst of 20",
        busy["stall_max_ms"], "ms")
    row("window loop, longest stall in as long with no request: median",
        idle["stall_median_ms"], "ms")
    # Each family's continuous reply; the row gives the slowest.
    to_us = {"ns": 1e-3, "us": 1, "ms": 1e3}
    replies = [b["real_time"] * to_us[b["time_unit"]] for name, b in decode.items()
               if name.startswith("decodeContinuousReply/")]
    row("decode of a 4 KiB continuous reply", max(replies), "us", 50)
    noise = find(decode, "decodeNoise")
    row("decode of 4 KiB of noise (no frame, every hint)",
        noise["real_time"] * to_us[noise["time_unit"]], "us", 50)
    tool, other = startup["vardelmo"], startup["cutecom"]
    row("start-up to window mapped: median", tool["startup_ms"], "ms", 120,
        other["startup_ms"], "cutecom")
    row("cutecom start-up: median", other["startup_ms"], "ms")
    row("peak resident memory: median", tool["peak_mb"], "MB", 35, other["peak_mb"], "cutecom")
    row("cutecom peak resident memory: median", other["peak_mb"], "MB")
    query, version = startup["query"], startup["version"]
    row("--query, wait 0, start to exit: median", query["startup_ms"], "ms", 60)
    row("--version, start to exit: median", version["startup_ms"], "ms")
    row("--query peak resident memory: median", query["peak_mb"], "MB")
    silent, found = find_runs["silent"], find_runs["found"]
    # The bound is the search's own: each try waits at most 0.6 s, plus 10 % for the rest.
    row(f"--find, silent port, all {silent['tries']} settings: longest of {len(silent['runs_ms'])}",
        silent["max_ms"] / 1000, "s", round(silent["bound_ms"] / 1000, 2))
    row(f"--find, scale at 9600, reply delay 3 ms: median of {len(found['runs_ms'])}",
        found["median_ms"], "ms", 700)
    row(f"--find, scale at 9600, reply delay 3 ms: worst of {len(found['runs_ms'])}",
        found["max_ms"], "ms")
    for baud in (2400, 9600):
        p = find(pacing, f"replyByteSpacing/{baud}/")
        deviation = p["deviation_pct"]
        rows.append((f"virtual scale byte spacing at {baud} baud vs byte time",
                     f"{p['spacing_us']:.0f} us vs {p['byte_time_us']:.0f} us "
                     f"({deviation:+.2f} %)", "within 5 %", abs(deviation) <= 5))

    widths = [max(len(r[i]) for r in rows + [("metric", "value", "target")]) for i in range(3)]
    line = "| {:<{}} | {:>{}} | {:<{}} | {:<6} |"
    print(line.format("metric", widths[0], "value", widths[1], "target", widths[2], "result"))
    print(f"|{'-' * (widths[0] + 2)}|{'-' * (widths[1] + 2)}|{'-' * (widths[2] + 2)}|--------|")
    missed = 0
    for metric, value, target, passed in rows:
        result = "-" if passed is None else ("pass" if passed else "FAIL")
        missed += passed is False
        print(line.format(metric, widths[0], value, widths[1], target, widths[2], result))
    if missed:
        print(f"\n{missed} target(s) missed", file=sys.stderr)
    return 1 if missed else 0


if __name__ == "__main__":
    sys.exit(main())
