#!/usr/bin/env python3
"""Camera.picture() against a numpy copy of the same bytes, for each camera size, in one run.

    PYTHONPATH=build/python python3 bench/python/picture_bench.py [--json FILE]

Both allocate their result afresh each time, as picture() does for its caller. The two are timed in turn, call
after call, and each figure is the median, so that a burst of other work on the machine hits both alike.
"""
import argparse
import json
import os
import statistics
import tempfile
import time

import numpy as np

import nimbrel_model as nm

SENSORS = {"SIM1280-C": 300, "SIM2592-C": 100}  # camera and number of calls


def measure(camera, calls):
    reference = np.array(camera.picture())  # the same bytes, in memory numpy owns
    picture_times, copy_times = [], []
    for _ in range(calls):
        start = time.perf_counter()
        camera.picture()
        middle = time.perf_counter()
        reference.copy()
        picture_times.append(middle - start)
        copy_times.append(time.perf_counter() - middle)
    picture_ms = statistics.median(picture_times) * 1000.0
    copy_ms = statistics.median(copy_times) * 1000.0
    height, width, _ = reference.shape
    return {"width": width, "height": height, "picture_ms": picture_ms, "numpy_copy_ms": copy_ms,
            "ratio": picture_ms / copy_ms}


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--json", help="also write the results to this file")
    args = parser.parse_args()
    os.environ["XDG_CONFIG_HOME"] = tempfile.mkdtemp(prefix="picture-bench.")  # never the user's own settings
    results = []
    for sensor, calls in SENSORS.items():
        with nm.open(camera=sensor) as camera:
            results.append(measure(camera, calls))
        result = results[-1]
        print(f"{result['width']} x {result['height']}: picture() {result['picture_ms']:.2f} ms, numpy copy "
              f"{result['numpy_copy_ms']:.2f} ms: {result['ratio']:.2f} x")
    if args.json:
        with open(args.json, "w", encoding="utf-8") as out:
            json.dump(results, out)


if __name__ == "__main__":
    main()
