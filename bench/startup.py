#!/usr/bin/env python3
"""Start-up of TAMU beside a bare Qt window, as whole processes in one run:

    startup.py <bin folder> [runs, default 7] [--budget <ratio>]

Runs bench_startup and bench_bare in turns, offscreen, and prints for each the median wall time
from exec to exit and the median peak resident memory, and TAMU's ratio to the bare window.
With --budget, exits 1 when the time ratio is above it.
"""

import os
import resource
import statistics
import subprocess
import sys
import time


def run_once(program):
    start = time.perf_counter()
    # Each run in a child of its own, so that RUSAGE_CHILDREN's peak is that run's.
    pid = os.fork()
    if pid == 0:
        os.execv("/bin/sh", ["sh", "-c", f'exec "{program}" >/dev/null 2>&1'])
    _, status, usage = os.wait4(pid, 0)
    wall = (time.perf_counter() - start) * 1000
    if status != 0:
        sys.exit(f"{program} failed with status {status}")
    return wall, usage.ru_maxrss / 1024


def main(args):
    folder = args[0]
    runs = 7
    budget = None
    rest = args[1:]
    while rest:
        if rest[0] == "--budget":
            budget = float(rest[1])
            rest = rest[2:]
        else:
            runs = int(rest[0])
            rest = rest[1:]
    os.environ.setdefault("QT_QPA_PLATFORM", "offscreen")
    figures = {}
    samples = {"bench_startup": [], "bench_bare": []}
    for _ in range(runs):
        for name in samples:
            samples[name].append(run_once(os.path.join(folder, name)))
    for name, values in samples.items():
        wall = statistics.median(v[0] for v in values)
        peak = statistics.median(v[1] for v in values)
        figures[name] = (wall, peak)
        label = "TAMU" if name == "bench_startup" else "bare Qt window"
        print(f"{label:15} {wall:7.1f} ms  {peak:6.1f} MiB peak  (median of {runs})")
    ratio = figures["bench_startup"][0] / figures["bench_bare"][0]
    memory = figures["bench_startup"][1] / figures["bench_bare"][1]
    print(f"startup_ratio {ratio:.2f} (memory {memory:.2f})")
    if budget is not None and ratio > budget:
        print(f"MISSED start-up {ratio:.2f} times a bare Qt window, budget {budget:g}")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
