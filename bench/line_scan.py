#!/usr/bin/env python3
"""A plain line-by-line scan of MAP files: every line read and split into fields.

The yardstick for the MAP loading benchmarks: loading a map should take at most half the time
this scan of the same file takes. Prints the best of several runs for each file.

    python3 bench/line_scan.py FILE [FILE...] [--runs N]
"""

import argparse
import time


def scan(path):
    fields = 0
    lines = 0
    with open(path, "r", encoding="latin-1") as file:
        for line in file:
            fields += len(line.split())
            lines += 1
    return lines, fields


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("files", nargs="+")
    parser.add_argument("--runs", type=int, default=5)
    args = parser.parse_args()
    for path in args.files:
        best = None
        for _ in range(args.runs):
            start = time.perf_counter()
            lines, fields = scan(path)
            elapsed = time.perf_counter() - start
            best = elapsed if best is None else min(best, elapsed)
        print(f"{path}: {lines} lines, {fields} fields, best of {args.runs}: {best * 1000:.0f} ms")


if __name__ == "__main__":
    main()
