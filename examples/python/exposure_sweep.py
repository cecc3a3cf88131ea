#!/usr/bin/env python3
"""Sweeps the camera's exposure and plots the picture's mean brightness against it.

    python3 exposure_sweep.py --steps 12 --plot sweep.png
"""
import argparse
import os
from typing import List, Tuple

import matplotlib

if not os.environ.get("DISPLAY") and "MPLBACKEND" not in os.environ:
    matplotlib.use("Agg")  # no display: draw into the file only
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402

import nimbrel_model as nm  # noqa: E402


def sweep(cam: nm.Camera, lowest: float, highest: float, steps: int) -> Tuple[List[float], List[float]]:
    """The exposures the camera applied and the mean pixel value at each."""
    applied: List[float] = []
    means: List[float] = []
    for wanted in np.linspace(lowest, highest, steps):
        cam.exposure = float(wanted)
        nm.run_events(2.5 / cam.frame_rate)  # let a frame or two arrive with the new exposure
        applied.append(cam.exposure)
        means.append(float(cam.picture().mean()))
        print(f"exposure {applied[-1]:7.2f} ms: mean {means[-1]:6.1f}")
    return applied, means


def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--steps", type=int, default=10, help="number of exposures (default 10)")
    parser.add_argument("--lowest", type=float, default=0.5, help="first exposure in ms (default 0.5)")
    parser.add_argument("--highest", type=float, help="last exposure in ms (default: 90 %% of the frame time)")
    parser.add_argument("--plot", default="exposure_sweep.png", help="the picture to write")
    parser.add_argument("--camera", help="a simulated camera to open, for example SIM1280-M")
    args = parser.parse_args()

    with nm.open(camera=args.camera) as cam:
        highest = args.highest or 0.9 * 1000.0 / cam.frame_rate
        applied, means = sweep(cam, args.lowest, highest, args.steps)
        name = cam.name

    figure, axes = plt.subplots(figsize=(7, 4))
    axes.plot(applied, means, "o-")
    axes.set(xlabel="exposure (ms)", ylabel="mean pixel value (0-255)", title=f"{name}: brightness against exposure")
    axes.grid(True)
    figure.tight_layout()
    figure.savefig(args.plot)
    print(f"plot written to {args.plot}")
    if matplotlib.get_backend().lower() != "agg":
        plt.show()


if __name__ == "__main__":
    main()
