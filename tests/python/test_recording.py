"""Recordings from Python, read back by ffprobe: blocking and in the background, paused, stopped, interrupted."""
import os
import signal
import threading
import time

import pytest

import nimbrel_model as nm
from conftest import probe


def run_until(condition, seconds=20.0):
    deadline = time.monotonic() + seconds
    while not condition() and time.monotonic() < deadline:
        nm.run_events(0.05)
    return condition()


@pytest.mark.parametrize("camera, aoi", [("SIM1280-C", None), ("SIM1280-M", (640, 480))], indirect=["camera"])
def test_record_writes_the_frames_asked_for(camera, aoi, tmp_path):
    if aoi:
        camera.set_aoi(*aoi)
    seen = []
    clip = tmp_path / "clip.avi"
    camera.record(clip, 1, fps=25, replay_fps=10, progress=lambda done, total: seen.append((done, total)))
    assert probe(clip) == {"codec": "mjpeg", "size": (camera.width, camera.height), "rate": "10/1", "frames": 25,
                           "declared": 25}
    assert len(seen) >= 3 and seen == sorted(seen) and seen[-1] == (1.0, 1)
    assert not camera.is_recording


@pytest.mark.parametrize("seconds, max_size_mb, frames", [(0.6, None, 15), (10, 0, 0)])
def test_a_background_recording_ends_by_itself_and_says_so(camera, tmp_path, seconds, max_size_mb, frames):
    ends = []
    clip = tmp_path / "clip.avi"
    camera.start_recording(clip, seconds, fps=25, max_size_mb=max_size_mb, on_end=ends.append)
    assert camera.is_recording
    assert run_until(lambda: ends)
    assert ends == [None] and not camera.is_recording
    assert probe(clip)["frames"] == frames


def test_a_paused_recording_takes_no_frames_and_resumes(camera, tmp_path):
    ends = []
    clip = tmp_path / "clip.avi"
    camera.start_recording(clip, 10, fps=20, on_end=ends.append)
    nm.run_events(0.5)
    camera.pause_recording()
    nm.run_events(0.6)
    camera.start_recording(tmp_path / "ignored.avi", 10, fps=20)
    nm.run_events(0.5)
    camera.stop_recording()
    camera.stop_recording()
    info = probe(clip)
    assert 0 < info["frames"] <= 24 and info["declared"] == info["frames"]
    assert ends == [] and not (tmp_path / "ignored.avi").exists()


def test_ctrl_c_stops_the_recording_with_a_finished_file(camera, tmp_path):
    clip = tmp_path / "clip.avi"
    threading.Timer(0.5, os.kill, (os.getpid(), signal.SIGINT)).start()
    with pytest.raises(KeyboardInterrupt):
        camera.record(clip, 30, fps=20)
    assert not camera.is_recording
    info = probe(clip)
    assert 0 < info["frames"] < 600 and info["declared"] == info["frames"]


def test_closing_finishes_an_open_recording(tmp_path):
    clip = tmp_path / "clip.avi"
    cam = nm.open()
    cam.start_recording(clip, 0, fps=20)
    nm.run_events(0.3)
    cam.close()
    info = probe(clip)
    assert info["frames"] > 0 and info["declared"] == info["frames"]


def test_a_callback_may_close_the_camera(tmp_path):
    cam = nm.open(camera="SIM1280-C")
    cam.start_recording(tmp_path / "clip.avi", 0.2, fps=25, on_end=lambda error: cam.close())
    assert run_until(lambda: not cam.is_open)
    nm.run_events(0.1)  # the camera goes once the tick that called back is over
    nm.open().close()


def test_a_callback_that_raises_stops_the_event_loop(camera, tmp_path):
    def fail(error):
        raise RuntimeError("from on_end")

    camera.start_recording(tmp_path / "clip.avi", 0.2, fps=20, on_end=fail)
    with pytest.raises(RuntimeError, match="from on_end"):
        nm.run_events(10)
    with pytest.raises(ZeroDivisionError):
        camera.record(tmp_path / "clip.avi", 5, fps=20, progress=lambda done, total: done > 0.2 and 1 / 0)
    info = probe(tmp_path / "clip.avi")
    assert not camera.is_recording and 0 < info["frames"] == info["declared"]


@pytest.mark.parametrize("arguments", [dict(seconds=0), dict(seconds=float("inf")), dict(seconds=1, fps=0),
                                       dict(seconds=1, max_size_mb=-1), dict(seconds=1, replay_fps=0)])
def test_record_refuses_bad_arguments(camera, tmp_path, arguments):
    with pytest.raises(ValueError):
        camera.record(tmp_path / "clip.avi", **arguments)
    assert not camera.is_recording and not (tmp_path / "clip.avi").exists()


def test_one_recording_at_a_time(camera, tmp_path):
    camera.start_recording(tmp_path / "a.avi", 0, fps=20)
    with pytest.raises(nm.CameraError, match="recording is open"):
        camera.record(tmp_path / "b.avi", 1)
    camera.stop_recording()
