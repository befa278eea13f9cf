#!/usr/bin/env python3
"""Summarises one scripts/bench run: the median of every benchmark in
nanoseconds per frame, the ratios the performance targets are stated in,
and the instructions per frame counted under callgrind.

usage: summarize.py BENCHMARKS.json INSTRUCTIONS.txt
INSTRUCTIONS.txt holds lines "scenario|frames|instructions"."""

import json
import sys


def medians(path):
    with open(path) as file:
        report = json.load(file)
    result = {}
    for entry in report["benchmarks"]:
        if entry.get("run_type") == "aggregate" and entry.get("aggregate_name") != "median":
            continue
        result[entry.get("run_name", entry["name"])] = entry
    return result


def order(name):
    """Benchmarks in the order they are declared, whatever order they ran in:
    by family, then by their numeric arguments."""
    family, *arguments = name.split("/")
    return (FAMILIES.index(family) if family in FAMILIES else len(FAMILIES), family,
            [int(argument.split(":")[-1]) for argument in arguments if argument.split(":")[-1].isdigit()])


FAMILIES = ["PluginSteady", "PluginRamps", "AdapterBlock", "Floor", "Lfo", "Smoothers", "ChorusOnly"]


def per_frame_ns(entry):
    return entry["time/frame"] * 1e9


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    runs = medians(sys.argv[1])

    print(f"{'benchmark':34} {'ns/frame':>10} {'Mframes/s':>10} {'x realtime':>11}")
    for name, entry in sorted(runs.items(), key=lambda item: order(item[0])):
        if "time/frame" in entry:
            print(f"{name:34} {per_frame_ns(entry):10.3f} {entry['frames/s'] / 1e6:10.1f} {entry['x realtime']:11.0f}")
        elif "time/block" in entry:
            print(f"{name:34} {entry['time/block'] * 1e9:10.1f} ns per block")

    print()
    print("targets (medians)")

    def check(text, value, limit):
        verdict = "met" if value <= limit else "MISSED"
        print(f"  {text:52} {value:6.2f}  (at most {limit:.2f})  {verdict}")

    def ns(name):
        entry = runs.get(name)
        return per_frame_ns(entry) if entry is not None else None

    floor = ns("Floor/frames:512")
    steady512 = ns("PluginSteady/block:512")
    steady32 = ns("PluginSteady/block:32")
    if floor and steady512:
        print(f"  floor (oscillator recurrence alone): {floor:.3f} ns per frame")
        check("steady state, 512-sample blocks / floor", steady512 / floor, 2.0)
    if steady32 and steady512:
        check("steady state, 32-sample / 512-sample blocks", steady32 / steady512, 1.15)
    for block in (32, 64, 512, 4096):
        steady = ns(f"PluginSteady/block:{block}")
        ramps = ns(f"PluginRamps/block:{block}")
        if steady and ramps:
            check(f"ramps / steady state, {block}-sample blocks", ramps / steady, 1.5)

    print()
    print("instructions per frame (callgrind)")
    with open(sys.argv[2]) as file:
        for line in file:
            scenario, frames, instructions = line.strip().split("|")
            print(f"  {scenario:12} {int(instructions) / int(frames):8.1f}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
