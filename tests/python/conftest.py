"""Shared pieces of the binding's tests: each test gets its own settings folder, and child processes (Python
scripts, ffprobe, Xvfb) start with the environment they need."""
import json
import os
import pathlib
import subprocess
import sys

import pytest

import nimbrel_model as nm

ROOT = pathlib.Path(__file__).resolve().parents[2]
SHIPPED = ROOT / "res" / "config.xml"
# Under AddressSanitizer the instrumented extension needs its runtime preloaded into Python, and only there.
PRELOAD = os.environ.get("LD_PRELOAD", "")

sys.path.insert(0, str(ROOT / "tests" / "support"))
from shared_fixtures import display, settings_home, tool_env  # noqa: E402,F401 (fixtures are found by name)


@pytest.fixture
def camera(request):
    """An open camera; parametrize indirectly with a sensor name (default SIM1280-C)."""
    with nm.open(camera=getattr(request, "param", "SIM1280-C")) as cam:
        yield cam




def run_python(*args, env=None, timeout=60):
    """Runs the interpreter with these arguments in a child process; returns its output."""
    command = [sys.executable, *map(str, args)]
    if PRELOAD:
        command = ["env", "LD_PRELOAD=" + PRELOAD, *command]
    result = subprocess.run(command, env={**tool_env(), **(env or {})}, capture_output=True, text=True,
                            timeout=timeout, check=False)
    assert result.returncode == 0, result.stderr
    return result.stdout


def probe(path):
    """What ffprobe reads in an AVI file: codec, size, rate, frames."""
    out = subprocess.run(["ffprobe", "-v", "error", "-select_streams", "v:0", "-count_packets", "-show_entries",
                          "stream=codec_name,width,height,r_frame_rate,nb_frames,nb_read_packets", "-of", "json", str(path)],
                         env=tool_env(), capture_output=True, text=True, check=True).stdout
    stream = json.loads(out)["streams"][0]
    packets = stream.get("nb_read_packets", "N/A")
    # nb_frames comes from the index that closing the file writes.
    return {"codec": stream["codec_name"], "size": (stream["width"], stream["height"]),
            "rate": stream["r_frame_rate"], "frames": 0 if packets == "N/A" else int(packets),
            "declared": int(stream["nb_frames"]) if stream.get("nb_frames", "N/A").isdigit() else None}
