#!/usr/bin/env python3
"""Turns the JSON output of bench-containers into the table of ratios: the CPU time of
VX::HashTable divided by that of std::unordered_map and of std::map, per operation and N
(below 1 means the hash table is faster).

    bench-containers --benchmark_out=bench.json --benchmark_out_format=json
    python3 ratios.py bench.json
"""
import json
import re
import sys
from collections import defaultdict


def main(path):
    with open(path) as source:
        report = json.load(source)
    times = defaultdict(dict)
    for run in report["benchmarks"]:
        if run.get("run_type", "iteration") != "iteration":
            continue
        match = re.fullmatch(r"(\w+)<(\w+)>/(\d+)", run["name"])
        if not match:
            continue
        operation, container, count = match.groups()
        times[(operation, int(count))][container] = run["cpu_time"]
    print("| Operation | N | vs std::unordered_map | vs std::map |")
    print("|---|---:|---:|---:|")
    for (operation, count), row in sorted(times.items(), key=lambda item: (item[0][0].startswith("Guid"), item[0])):
        if "VXTable" not in row:
            continue
        table = row["VXTable"]
        unordered = f"{table / row['StdUnordered']:.2f}" if "StdUnordered" in row else "-"
        ordered = f"{table / row['StdOrdered']:.2f}" if "StdOrdered" in row else "-"
        print(f"| {operation} | {count} | {unordered} | {ordered} |")


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "bench.json")
