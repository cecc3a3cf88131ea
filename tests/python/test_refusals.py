"""What the binding refuses, and why, in words: every settable value against the range the camera reports (the
bounds are taken, anything else raises ValueError naming the property, the value and the range, and never reaches
the camera: the simulator's trace), and recordings whose file cannot be written (CameraError naming the file and the
system's reason, with its errno)."""
import errno
import json
import os
import pathlib
import subprocess
import tempfile

import pytest

from conftest import run_python

# In a process of its own: the simulator opens UESIM_TRACE when it loads. Each case's SDK calls are the trace
# lines it added.
TABLE = r"""
import json, math, sys
import nimbrel_model as nm
trace = sys.argv[1]
RANGES = {"exposure": "exposure_range", "frame_rate": "frame_rate_range", "gain": "gain_range",
          "red_gain": "color_gain_range", "green_gain": "color_gain_range", "blue_gain": "color_gain_range",
          "brightness": "brightness_range", "width": "width_range", "height": "height_range"}
def calls(action):
    with open(trace) as f: before = len(f.readlines())
    try:
        action(); outcome, text = "set", ""
    except ValueError as error:
        outcome, text = "ValueError", str(error)
    with open(trace) as f: lines = f.readlines()[before:]
    return outcome, text, [line.split("(")[0] for line in lines]
rows = []
with nm.open(camera="SIM1280-C") as cam:
    cam.set_aoi(640, 480)
    for name, range_name in RANGES.items():
        low, high, step = getattr(cam, range_name)
        below, above = low - max(step, 1), high + max(step, 1)
        cases = {"below_minimum": below, "minimum": low, "maximum": high, "above_maximum": above,
                 "nan": math.nan, "leave_it": -1}
        if name in ("exposure", "frame_rate"):
            cases["query_code"] = 32768.0
        for case, value in cases.items():
            if name in ("width", "height"):
                width, height = cam.width, cam.height
                set_it = lambda: cam.set_aoi(value, height) if name == "width" else cam.set_aoi(width, value)
            else:
                set_it = lambda: setattr(cam, name, value)
            outcome, text, made = calls(set_it)
            read = getattr(cam, name)
            rows.append([name, case, None if math.isnan(value) else value, [low, high, step], outcome, text, made, read])
            if name == "frame_rate":  # the exposure's range follows the frame rate: leave the camera as it was
                cam.frame_rate = 25
    rows.append(["set_gains", "none_leaves_it", None, None, "set", "", calls(lambda: cam.set_gains(red=5))[2],
                 [cam.gain, cam.red_gain]])
print(json.dumps(rows))
"""

QUERIES = {"is_GetSettingRange", "is_GetFrameTimeRange"}


@pytest.fixture(scope="module")
def table(tmp_path_factory):
    folder = tmp_path_factory.mktemp("ranges")
    trace = folder / "trace"
    trace.touch()
    out = run_python("-c", TABLE, trace, env={"UESIM_TRACE": str(trace), "XDG_CONFIG_HOME": str(folder)})
    return {(row[0], row[1]): row[2:] for row in json.loads(out)}


NAMES = ["exposure", "frame_rate", "gain", "red_gain", "green_gain", "blue_gain", "brightness", "width", "height"]
REFUSED = ["below_minimum", "above_maximum", "nan", "leave_it"]


@pytest.mark.parametrize("name", NAMES)
@pytest.mark.parametrize("case", ["minimum", "maximum"])
def test_a_bound_reaches_the_camera_and_reads_back(table, name, case):
    value, _, outcome, _, made, read = table[(name, case)]
    assert outcome == "set"
    assert set(made) - QUERIES, "the value never reached the camera"
    assert read == pytest.approx(value, rel=1e-6)


@pytest.mark.parametrize("name", NAMES)
@pytest.mark.parametrize("case", REFUSED)
def test_a_value_outside_the_range_is_refused_before_the_camera(table, name, case):
    value, (low, high, _), outcome, text, made, _ = table[(name, case)]
    assert outcome == "ValueError"
    shown = "nan" if value is None else "%g" % value
    assert text.startswith(f"{name} {shown} is outside the camera's range, {low:g} to {high:g}"), text
    assert set(made) <= QUERIES, f"{made} reached the camera"


@pytest.mark.parametrize("name", ["exposure", "frame_rate"])
def test_the_query_code_is_not_taken_for_a_value(table, name):
    assert table[(name, "query_code")][2] == "ValueError"


def test_none_in_set_gains_leaves_that_gain(table):
    *_, made, (gain, red) = table[("set_gains", "none_leaves_it")]
    assert made.count("is_SetHardwareGain") == 1 and red == 5


# Each case's file, prepared by the test; the child records into each and reports what it raised.
WRITE = r"""
import json, os, sys
import nimbrel_model as nm
rows = []
with nm.open(camera="SIM1280-C") as cam:
    for path in sys.argv[1:]:
        try:
            cam.record(path, 0.2, fps=25)
            rows.append([path, None, "recorded", os.path.exists(path)])
        except nm.CameraError as error:
            rows.append([path, error.errno, str(error), os.path.exists(path)])
print(json.dumps(rows))
"""

ROOT = os.geteuid() == 0


def mounted(folder, options):
    folder.mkdir()
    subprocess.run(["mount", "-t", "tmpfs", "-o", options, "tmpfs", str(folder)], check=True)
    return folder


@pytest.fixture
def write_cases(tmp_path):
    """(file, errno, reason) per case; the mounts need root."""
    # A folder as the file is refused before anything starts (ValueError): see test_edges.py.
    cases = [(tmp_path / "none" / "x.avi", errno.ENOENT, "does not exist: No such file or directory")]
    mounts = []
    if ROOT:
        mounts = [mounted(tmp_path / "ro", "ro,size=1m"), mounted(tmp_path / "full", "size=1m")]
        subprocess.run(["dd", "if=/dev/zero", f"of={tmp_path / 'full' / 'filler'}", "bs=64k"],
                       stderr=subprocess.DEVNULL, check=False)
        cases += [(mounts[0] / "x.avi", errno.EROFS, "Read-only file system"),
                  (mounts[1] / "x.avi", errno.ENOSPC, "No space left on device")]
    yield cases
    for folder in mounts:
        subprocess.run(["umount", str(folder)], check=True)


def check_refusals(rows, cases):
    for (path, number, text, left), (file, expected, reason) in zip(rows, cases):
        assert (number, text.startswith(f"cannot write the recording {file}: ")) == (expected, True), text
        assert reason in text, text
        # A full disk keeps the frames written before (a finished file); nothing else leaves a file behind.
        assert not left or file.is_dir() or expected == errno.ENOSPC, f"{file} left behind"


def test_a_file_that_cannot_be_written_is_named_with_its_reason(write_cases, tmp_path):
    out = run_python("-c", WRITE, *[file for file, _, _ in write_cases], env={"XDG_CONFIG_HOME": str(tmp_path)})
    check_refusals(json.loads(out), write_cases)


@pytest.mark.skipif(not ROOT, reason="runs the recording as the user nobody")
def test_a_folder_the_user_may_not_write_is_named_with_its_reason():
    # Outside pytest's own folders, which only their owner may enter.
    with tempfile.TemporaryDirectory() as top:
        top = pathlib.Path(top)
        locked, home = top / "locked", top / "home"
        locked.mkdir()
        home.mkdir()
        os.chown(home, 65534, 65534)
        os.chmod(top, 0o755)
        out = subprocess.run(["runuser", "-u", "nobody", "--", "env", f"HOME={home}", "XDG_CONFIG_HOME=",
                              f"PYTHONPATH={os.environ['PYTHONPATH']}", "/usr/bin/python3", "-c", WRITE,
                              str(locked / "x.avi")], capture_output=True, text=True, timeout=60, check=True).stdout
        check_refusals(json.loads(out), [(locked / "x.avi", errno.EACCES, "Permission denied")])
