"""The event loop and threads: the optimisation's end on the main thread, the binding inside a wxPython
application under Xvfb, and the examples."""
import json
import threading

import pytest

import nimbrel_model as nm
from conftest import ROOT, probe, run_python
from test_recording import run_until

EXAMPLES = ROOT / "examples" / "python"


def test_the_optimization_ends_on_the_main_thread(camera):
    before = camera.frame_rate
    calls = []
    camera.optimize_clock(on_end=lambda: calls.append(threading.current_thread() is threading.main_thread()))
    assert calls == []  # it returned at once
    assert run_until(lambda: calls)
    assert calls == [True] and camera.frame_rate > before
    camera.frame_rate = before
    camera.optimize_clock()  # waits
    assert camera.frame_rate > before
    assert not nm.config().conf_saved



def test_closing_cancels_a_callback_not_yet_delivered():
    calls = []
    with nm.open() as cam:
        cam.optimize_clock(on_end=lambda: calls.append(cam.is_open))
    assert calls == []  # not inside close(), on a closing camera
    nm.run_events(0.5)
    assert calls == []  # nor later

WX_APPLICATION = """
import json, sys, threading
import nimbrel_model as nm
import wx

app = wx.App()
frame = wx.Frame(None, title="recording")
frame.Show()
camera = nm.open()
result = {}

def optimised():
    result["optimised on the main thread"] = threading.current_thread() is threading.main_thread()
    camera.start_recording(sys.argv[1], 1, fps=25, on_end=ended)

def ended(error):
    result["ended"] = repr(error)
    result["ended on the main thread"] = wx.IsMainThread()
    camera.start_recording(sys.argv[2], 0, fps=25)  # still recording at exit
    wx.CallLater(300, frame.Close)

wx.CallAfter(camera.optimize_clock, optimised)
wx.CallLater(20000, frame.Close)
app.MainLoop()
print(json.dumps(result))
"""


def test_a_wxpython_application_records_in_its_own_main_loop(tmp_path, display):
    clip, left_open = tmp_path / "clip.avi", tmp_path / "left-open.avi"
    result = json.loads(run_python("-c", WX_APPLICATION, clip, left_open, env={"DISPLAY": display}))
    assert result == {"optimised on the main thread": True, "ended": "None", "ended on the main thread": True}
    assert probe(clip)["frames"] == 25
    assert 0 < probe(left_open)["frames"] == probe(left_open)["declared"]  # closed at exit, before wx shut down


@pytest.mark.parametrize("script, arguments", [
    ("record_clip.py", ["{tmp}/clip.avi", "--seconds", "0.5", "--fps", "10"]),
    ("exposure_sweep.py", ["--steps", "3", "--plot", "{tmp}/sweep.png"]),
    ("frames_to_csv.py", ["{tmp}/frames.csv", "--count", "20"]),
    ("viewer.py", ["--quit-after", "1.5", "--record", "{tmp}/viewer.avi"])])
def test_the_examples_run(tmp_path, display, script, arguments):
    run_python(EXAMPLES / script, *[argument.format(tmp=tmp_path) for argument in arguments],
               env={"MPLBACKEND": "Agg", "DISPLAY": display})
    produced = next(tmp_path.glob("*.*"))
    assert probe(produced)["frames"] > 0 if produced.suffix == ".avi" else produced.stat().st_size > 0

