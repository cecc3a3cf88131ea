#!/usr/bin/env python3
"""Records a Motion-JPEG AVI clip from the camera, with a progress bar; Ctrl-C stops it with the file complete.

    python3 record_clip.py clip.avi --seconds 5 --fps 25
"""
import argparse
import sys

import nimbrel_model as nm


def show_progress(done: float, total: float) -> None:
    width = 40
    filled = int(width * done / total)
    print(f"\r[{'#' * filled}{'.' * (width - filled)}] {done:5.1f} / {total:g} s", end="", flush=True)


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("path", help="the AVI file to write (replaced if it exists)")
    parser.add_argument("--seconds", type=float, default=5.0, help="length of the clip (default 5)")
    parser.add_argument("--fps", type=float, help="frames per second (default: the camera's frame rate)")
    parser.add_argument("--max-size", type=float, help="ends the clip earlier at this size, in MB")
    parser.add_argument("--camera", help="a simulated camera to open, for example SIM2592-C")
    args = parser.parse_args()

    with nm.open(camera=args.camera) as cam:
        print(f"{cam.name}: {cam.width} x {cam.height} pixels at {cam.frame_rate:.1f} frames per second")
        try:
            cam.record(args.path, args.seconds, fps=args.fps, max_size_mb=args.max_size, progress=show_progress)
        except KeyboardInterrupt:
            print(f"\nstopped: {args.path} holds what was recorded")
            return 130
    print(f"\nwrote {args.path}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
