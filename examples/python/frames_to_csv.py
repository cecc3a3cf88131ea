#!/usr/bin/env python3
"""Takes frames from the camera's frame stream and writes each frame's number and timestamps to a CSV file.

    python3 frames_to_csv.py frames.csv --count 1000
    python3 frames_to_csv.py --list
"""
import argparse
import csv
import sys

import nimbrel_model as nm


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("path", nargs="?", help="the CSV file to write")
    parser.add_argument("--count", type=int, default=1000, help="frames to take (default 1000)")
    parser.add_argument("--camera", help="the camera to open: a simulated camera's name or a camera id")
    parser.add_argument("--list", action="store_true", help="list the connected cameras and take no frames")
    args = parser.parse_args()
    if args.list:
        for info in nm.cameras():
            print(f"{info.id}  {info.model}{'  (in use)' if info.in_use else ''}")
        return 0
    if args.path is None:
        parser.error("the CSV file to write is missing")

    with nm.open(camera=args.camera) as cam, open(args.path, "w", newline="") as out:
        table = csv.writer(out)
        table.writerow(["sequence", "device_time_s", "host_time_s", "mean"])
        first = last = None
        for frame in cam.frames(count=args.count, timeout=2.0):
            table.writerow([frame.sequence, f"{frame.device_time:.6f}", f"{frame.host_time:.6f}",
                            f"{frame.array.mean():.2f}"])
            first = first or frame
            last = frame
        if first is not None and last is not None and last.device_time > first.device_time:
            rate = (last.sequence - first.sequence) / (last.device_time - first.device_time)
            print(f"{args.count} frames of {cam.name} at {rate:.2f} fps, {cam.frames_dropped} dropped")
    return 0


if __name__ == "__main__":
    sys.exit(main())
