#!/usr/bin/env python3
"""Start-up of TAMU beside a bare Qt window, as whole processes in one run:

    startup.py <bin folder> [runs, default 7] [--budget <ratio>] [--before <bin folder>] [--cold]
               [--scales <factor>,...]

Runs bench_startup and bench_bare in turns, offscreen (with --before, also the bench_startup of
a build of earlier code), and prints for each the median wall time from exec to exit and the
median peak resident memory, and TAMU's ratio to the bare window. --cold gives every run an
empty cache folder, as at the first start after an installation. --scales also runs TAMU at
each QT_SCALE_FACTOR given and prints its time and peak memory as ratios to TAMU's at 100 %, the
largest of them as scaled_ratio. With --budget, exits 1 when the time ratio is above it.
"""

import os
import statistics
import sys
import tempfile
import time


def run_once(program, extra_environment, cold):
    environment = dict(os.environ, **extra_environment)
    scratch = tempfile.mkdtemp() if cold else None
    if scratch:
        environment["XDG_CACHE_HOME"] = scratch
    start = time.perf_counter()
    # Each run a child of its own, so that its peak is its own.
    pid = os.fork()
    if pid == 0:
        devnull = os.open(os.devnull, os.O_WRONLY)
        os.dup2(devnull, 1)
        os.dup2(devnull, 2)
        os.execve(program, [program], environment)
    _, status, usage = os.wait4(pid, 0)
    wall = (time.perf_counter() - start) * 1000
    if scratch:
        os.system(f"rm -rf '{scratch}'")
    if status != 0:
        sys.exit(f"{program} failed with status {status}")
    return wall, usage.ru_maxrss / 1024


def main(args):
    folder = args[0]
    runs, budget, before, cold, scales = 7, None, None, False, []
    rest = args[1:]
    while rest:
        if rest[0] == "--budget":
            budget, rest = float(rest[1]), rest[2:]
        elif rest[0] == "--before":
            before, rest = rest[1], rest[2:]
        elif rest[0] == "--scales":
            scales, rest = rest[1].split(","), rest[2:]
        elif rest[0] == "--cold":
            cold, rest = True, rest[1:]
        else:
            runs, rest = int(rest[0]), rest[1:]
    os.environ.setdefault("QT_QPA_PLATFORM", "offscreen")
    tamu = os.path.join(folder, "bench_startup")
    programs = {"TAMU": (tamu, {}), "bare Qt window": (os.path.join(folder, "bench_bare"), {})}
    if before:
        programs["TAMU before"] = (os.path.join(before, "bench_startup"), {})
    for scale in scales:
        programs[f"TAMU at {float(scale):.0%}"] = (tamu, {"QT_SCALE_FACTOR": scale})
    samples = {name: [] for name in programs}
    for _ in range(runs):
        for name, (program, environment) in programs.items():
            samples[name].append(run_once(program, environment, cold))
    figures = {}
    for name, values in samples.items():
        figures[name] = (statistics.median(v[0] for v in values),
                         statistics.median(v[1] for v in values))
        print(f"{name:15} {figures[name][0]:7.1f} ms  {figures[name][1]:6.1f} MiB peak"
              f"  (median of {runs}{', cold cache' if cold else ''})")
    bare = figures["bare Qt window"]
    ratio = figures["TAMU"][0] / bare[0]
    print(f"startup_ratio {ratio:.2f} (memory {figures['TAMU'][1] / bare[1]:.2f})")
    if before:
        print(f"before_ratio {figures['TAMU before'][0] / bare[0]:.2f} "
              f"(memory {figures['TAMU before'][1] / bare[1]:.2f})")
    scaled = []
    for scale in scales:
        time_ratio, memory_ratio = (figures[f"TAMU at {float(scale):.0%}"][i] / figures["TAMU"][i]
                                    for i in (0, 1))
        print(f"at {float(scale):.0%}: {time_ratio:.2f} times the time at 100 %, "
              f"{memory_ratio:.2f} times the peak memory")
        scaled += [time_ratio, memory_ratio]
    if scaled:
        print(f"scaled_ratio {max(scaled):.2f}")
    if budget is not None and ratio > budget:
        print(f"MISSED start-up {ratio:.2f} times a bare Qt window, budget {budget:g}")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
