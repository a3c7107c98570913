#!/usr/bin/env python3
"""Checks the figures of one benchmark run against their budgets.

    budgets.py <results.json>... [--figure name=value ...]

The JSON files are Google Benchmark's (--benchmark_out_format=json); a --figure is a figure a
whole-program benchmark printed. Prints each budgeted figure and exits 1 when one misses.
"""

import json
import re
import sys

# (benchmark name, as a regular expression; time measured, or a counter in milliseconds; budget
# in milliseconds)
BENCHMARK_BUDGETS = [
    (r"allHands/512/min_time:2\.000", "real_time", 40),
    (r"BM_UnrestrictedSearchToVisibleTree/items10k/repeated:0.*", "real_time", 50),
    (r"BM_UnrestrictedSearchToVisibleTree/items10k/repeated:1.*", "real_time", 10),
    (r"BM_UnrestrictedSearchToVisibleTree/items160k/repeated:0.*", "real_time", 1000),
    (r"BM_UnrestrictedSearchToVisibleTree/items160k/repeated:1.*", "real_time", 100),
    (r"BM_ExpandDeepestNode.*", "real_time", 16),
    (r"BM_ExpandWidestNode.*", "real_time", 16),
    (r"BM_AsteriskOnLargestSubtree.*", "real_time", 16),
    (r"BM_StatusChangeToRepaint.*", "real_time", 16),
    (r"BM_ShoppingListDeepest.*", "cpu_time", 50),
    (r"BM_RankingLoad/items10k.*", "cpu_time", 200),
    (r"BM_RankingLoad/items160k(/|$).*", "cpu_time", 300),
    (r"BM_RankingResort.*", "real_time", 16),
    (r"BM_RankingWindowLargestStall.*", "stall_ms", 50),
    (r"importItems.*", "cpu_time", 2000),
    (r"plannerRefresh.*", "cpu_time", 1),
]
# Figures the whole-program benchmarks print: (name, budget, unit).
FIGURE_BUDGETS = {
    "startup_ratio": (3, "× a bare Qt window's time"),
    "scaled_ratio": (1.5, "× the time or peak memory at 100 %"),
    "startup_ms": (250, "ms"),
    "idle_cpu_percent": (1, "%"),
    "idle_journeys_cpu_percent": (1, "%"),
}
TO_MS = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}


def main(args):
    files, figures = [], {}
    i = 0
    while i < len(args):
        if args[i] == "--figure":
            name, value = args[i + 1].split("=", 1)
            figures[name] = float(value)
            i += 2
        else:
            files.append(args[i])
            i += 1
    misses = []
    seen = set()
    for path in files:
        with open(path, encoding="utf-8") as f:
            results = json.load(f).get("benchmarks", [])
        for result in results:
            if result.get("run_type") == "aggregate" and result.get("aggregate_name") != "median":
                continue
            name = result["name"]
            for pattern, measure, budget in BENCHMARK_BUDGETS:
                if re.fullmatch(pattern, result.get("run_name", name)) or re.fullmatch(pattern, name):
                    unit = TO_MS[result.get("time_unit", "ns")] if measure.endswith("_time") else 1
                    value = result[measure] * unit
                    seen.add(pattern)
                    verdict = "ok" if value <= budget else "MISSED"
                    print(f"{verdict:6} {name}: {value:.2f} ms ({measure}) of {budget} ms")
                    if value > budget:
                        misses.append(name)
    for name, value in figures.items():
        budget, unit = FIGURE_BUDGETS[name]
        verdict = "ok" if value <= budget else "MISSED"
        print(f"{verdict:6} {name}: {value:g} {unit} of {budget} {unit}")
        if value > budget:
            misses.append(name)
    if files:
        for pattern, _, _ in BENCHMARK_BUDGETS:
            if pattern not in seen:
                print(f"MISSED {pattern}: not measured")
                misses.append(pattern)
    if misses:
        print(f"{len(misses)} figure(s) over budget")
        return 1
    print("every figure within its budget")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
