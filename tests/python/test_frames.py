"""The frame stream from Python: whole frames as numpy views, numbered, timed and counted, on any thread."""
import threading
import time

import numpy as np
import pytest

import nimbrel_model as nm


@pytest.mark.parametrize("camera, shape", [("SIM1280-C", (1024, 1280, 3)), ("SIM1284-M", (966, 1284))],
                         indirect=["camera"])
def test_frames_are_views_of_their_own_memory_in_the_cameras_format(camera, shape):
    frames = list(camera.frames(count=5, timeout=2.0))
    assert len(frames) == 5
    assert [f.array.shape for f in frames] == [shape] * 5
    assert all(f.array.dtype == np.uint8 and not f.array.flags.writeable for f in frames)
    assert all(b.sequence > a.sequence and b.device_time > a.device_time for a, b in zip(frames, frames[1:]))
    kept = frames[0].array
    del frames
    camera.grab()  # the pool goes on; a kept array is never written again
    assert kept.shape == shape and kept.base is not None


def test_a_slow_loop_sees_gaps_that_frames_dropped_counts_exactly(camera):
    camera.frame_rate = 60.0
    seen = []
    for frame in camera.frames(count=12, timeout=2.0):
        seen.append(frame.sequence)
        time.sleep(0.05)
    span = seen[-1] - seen[0] + 1
    assert len(seen) + camera.frames_dropped >= span > len(seen)


def test_frames_are_taken_on_a_worker_thread_with_the_lock_released(camera):
    frames = camera.frames(count=10, timeout=2.0)
    taken = []
    worker = threading.Thread(target=lambda: taken.extend(f.sequence for f in frames))
    worker.start()
    ticks = 0
    while worker.is_alive():  # the main thread keeps running Python meanwhile
        ticks += 1
        time.sleep(0.001)
    worker.join()
    assert len(taken) == 10 and ticks > 10


def test_the_timestamps_give_the_cameras_frame_rate(camera):
    camera.frame_rate = 25.0
    frames = list(camera.frames(count=26, timeout=2.0))
    rate = (frames[-1].sequence - frames[0].sequence) / (frames[-1].device_time - frames[0].device_time)
    assert rate == pytest.approx(camera.frame_rate, rel=0.05)
    assert frames[-1].host_time == pytest.approx(time.monotonic(), abs=5.0)


@pytest.mark.parametrize("arguments, error", [({"count": -1}, ValueError), ({"timeout": float("nan")}, ValueError),
                                              ({"timeout": -1.0}, ValueError)])
def test_bad_arguments_are_refused_before_the_stream_starts(camera, arguments, error):
    with pytest.raises(error):
        camera.frames(**arguments)


def test_a_closed_camera_ends_the_iteration_with_an_error(camera):
    frames = camera.frames(timeout=2.0)
    next(frames)
    camera.close()
    with pytest.raises(nm.CameraError):
        next(frames)
