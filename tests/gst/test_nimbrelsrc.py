"""nimbrelsrc in pipelines: caps and frames of every simulated camera, negotiation, timing and drops, errors,
stopping, and the usual consumers (encoders, files, numpy, OpenCV, wxPython). State cycles and a failure
mid-stream in one instrumented process are SourceLifecycleTest.cpp's."""
import json
import os
import pathlib
import subprocess
import sys
import time

import numpy as np
import pytest

from conftest import SECOND, Gst, bus_error, gst_launch, playing, pull, tool_env

CATALOGUE = {  # name: (colour, width, height)
    "SIM1280-C": (True, 1280, 1024),
    "SIM1280-M": (False, 1280, 1024),
    "SIM2592-C": (True, 2592, 1944),
    "SIM4912-M": (False, 4912, 3684),
    "SIM1284-C": (True, 1284, 966),
    "SIM1284-M": (False, 1284, 966),
}
SMALL = "SIM1284-C"


def pixels(sample):
    """The sample's frame as a numpy array (rows, columns[, channels]), honouring the video meta's stride."""
    caps = sample.get_caps().get_structure(0)
    width, height = caps.get_value("width"), caps.get_value("height")
    channels = 3 if caps.get_value("format") == "RGB" else 1
    buffer = sample.get_buffer()
    ok, info = buffer.map(Gst.MapFlags.READ)
    assert ok
    try:
        data = np.frombuffer(info.data, dtype=np.uint8)
        stride = len(data) // height
        frame = data[:stride * height].reshape(height, stride)[:, :width * channels].copy()
    finally:
        buffer.unmap(info)
    return frame.reshape(height, width, channels) if channels == 3 else frame


def stamps(sample):
    """What a buffer says of its place in the stream: offset, offset end, PTS, duration, DISCONT."""
    b = sample.get_buffer()
    return b.offset, b.offset_end, b.pts, b.duration, b.has_flags(Gst.BufferFlags.DISCONT)


def pull_stamps(pipeline, count):
    """The stamps of `count` samples and the last sample; the others are let go at once, as a consumer would."""
    seen = []
    for _ in range(count):
        sample = pull(pipeline, 1)[0]
        seen.append(stamps(sample))
    return seen, sample


def check_timing(seen):
    """Offsets rising by one with no DISCONT after the first buffer; PTS a frame period apart, as the camera
    stamped them (a camera late under load stamps a frame late, never early)."""
    offsets = [offset for offset, _, _, _, _ in seen]
    assert offsets == list(range(offsets[0], offsets[0] + len(seen)))
    assert all(end == offset + 1 for offset, end, _, _, _ in seen)
    assert not any(discont for _, _, _, _, discont in seen[1:])
    period = seen[0][3]
    steps = sorted(b[2] - a[2] for a, b in zip(seen, seen[1:]))
    assert steps[0] > period * 0.9 and abs(steps[len(steps) // 2] - period) < period / 10, (period, steps)


@pytest.mark.parametrize("name", sorted(CATALOGUE))
def test_every_camera_gives_its_sensor_in_order(name):
    colour, width, height = CATALOGUE[name]
    with playing(f"nimbrelsrc name=src camera={name} ! appsink name=sink sync=false max-buffers=8") as pipeline:
        seen, last = pull_stamps(pipeline, 8)
        assert pipeline.get_by_name("src").get_property("sensor-name") == name
    caps = last.get_caps().get_structure(0)
    assert (caps.get_value("format"), caps.get_value("width"), caps.get_value("height")) == \
        ("RGB" if colour else "GRAY8", width, height)
    frame = pixels(last)
    assert frame.shape[:2] == (height, width)
    # A test pattern, not an empty or saturated buffer.
    assert 5 < frame.mean() < 250 and frame.std() > 5
    assert seen[0][4], "the first buffer starts the stream"
    # Once the pipeline has settled (its first frames come while it still starts up).
    check_timing(seen[2:])


def test_downstream_area_and_rate_are_set_on_the_camera_and_changed_while_playing():
    description = ("nimbrelsrc name=src camera=SIM1280-C ! capsfilter name=filter "
                   "caps=video/x-raw,width=640,height=480,framerate=30/1 ! appsink name=sink sync=false")
    with playing(description) as pipeline:
        seen, first = pull_stamps(pipeline, 4)
        latency = Gst.Query.new_latency()
        assert pipeline.get_by_name("src").query(latency)
        # A new filter asks upstream to negotiate again.
        pipeline.get_by_name("filter").set_property("caps", Gst.Caps.from_string("video/x-raw,width=320,height=200"))
        later = pull(pipeline, 4)
        while later[-1].get_caps().get_structure(0).get_value("width") != 320:
            later = pull(pipeline, 1)
    caps = first.get_caps().get_structure(0)
    assert (caps.get_value("width"), caps.get_value("height")) == (640, 480)
    assert caps.get_fraction("framerate")[1:] == (30, 1)
    assert pixels(first).shape == (480, 640, 3)
    assert seen[0][3] == SECOND // 30
    live, low, high = latency.parse_latency()
    assert live and low == SECOND // 30 and high == 3 * (SECOND // 30)
    assert pixels(later[-1]).shape == (200, 320, 3)
    assert later[-1].get_buffer().offset > seen[-1][0]
    assert later[-1].get_buffer().pts > seen[-1][2]


@pytest.mark.parametrize("request_caps, words", [
    ("width=641,height=480", ["641 x 480", "640 x 480", "644 x 480"]),
    ("width=2000,height=480", ["2000 x 480", "1280 x 480"]),
    ("format=GRAY8", ["GRAY8", "RGB"]),
], ids=["off-step", "too-wide", "grey-from-colour"])
def test_impossible_caps_are_refused_in_the_cameras_words(request_caps, words):
    with playing(f"nimbrelsrc camera=SIM1280-C ! video/x-raw,{request_caps} ! fakesink") as pipeline:
        text, error = bus_error(pipeline)
    assert error is not None and error.matches(Gst.StreamError.quark(), Gst.StreamError.FORMAT)
    assert "Internal data stream error" not in text
    for word in words:
        assert word in text


def test_slow_consumer_sees_discont_and_counted_drops():
    description = (f"nimbrelsrc name=src camera={SMALL} ! video/x-raw,width=320,height=240,framerate=100/1 ! "
                   "identity sleep-time=30000 ! appsink name=sink sync=false max-buffers=1")
    seen = []  # offset, DISCONT, frames-dropped as each buffer leaves the element

    def leaving(pad, info):
        buffer = info.get_buffer()
        seen.append((buffer.offset, buffer.has_flags(Gst.BufferFlags.DISCONT), src.get_property("frames-dropped")))
        return Gst.PadProbeReturn.OK

    with playing(description) as pipeline:
        src = pipeline.get_by_name("src")
        src.get_static_pad("src").add_probe(Gst.PadProbeType.BUFFER, leaving)
        pull(pipeline, 25)
    seen = list(seen)
    offsets = [offset for offset, _, _ in seen]
    jumps = [b - a for a, b in zip(offsets, offsets[1:])]
    assert all(jump >= 1 for jump in jumps) and sum(jump - 1 for jump in jumps) > 0
    assert [jump > 1 for jump in jumps] == [discont for _, discont, _ in seen[1:]]
    # Counted as the buffer leaves: its own gaps, and at most a queue's worth of newer frames pushed out.
    for index, (offset, _, dropped) in enumerate(seen):
        gaps = offset - offsets[0] - index
        assert gaps <= dropped <= gaps + 3, (offset, index, dropped)


def test_stopping_a_slow_camera_does_not_wait_for_its_frame():
    # Two seconds a frame: a wait that nothing wakes would hold the stop that long.
    with playing(f"nimbrelsrc camera={SMALL} ! video/x-raw,framerate=1/2 ! appsink name=sink sync=false") as pipeline:
        pull(pipeline, 1)
        started = time.monotonic()
        pipeline.set_state(Gst.State.NULL)
        assert time.monotonic() - started < 1.5


def test_exposure_changed_while_playing_shows_in_the_frames():
    description = (f"nimbrelsrc name=src camera={SMALL} exposure=8 ! video/x-raw,width=320,height=240 ! "
                   "appsink name=sink sync=false max-buffers=2 drop=true")
    with playing(description) as pipeline:
        src = pipeline.get_by_name("src")
        before = pixels(pull(pipeline, 3)[-1]).mean()
        notified = []
        src.connect("notify::exposure", lambda *_: notified.append(src.get_property("exposure")))
        src.set_property("exposure", 2.0)
        assert notified and abs(notified[-1] - 2.0) < 0.1
        after = pixels(pull(pipeline, 6)[-1]).mean()
    assert after < before * 0.6, (before, after)


def test_a_second_source_in_one_process_is_busy():
    with playing(f"nimbrelsrc camera={SMALL} ! appsink name=sink sync=false") as first:
        pull(first, 1)
        with playing(f"nimbrelsrc camera={SMALL} ! fakesink") as second:
            text, error = bus_error(second)
        assert error is not None and error.matches(Gst.ResourceError.quark(), Gst.ResourceError.BUSY), text
        pull(first, 1)


@pytest.mark.parametrize("env, code, words", [
    ({"UESIM_CAMERA": "none"}, Gst.ResourceError.NOT_FOUND, ["is_InitCamera"]),
    ({}, Gst.ResourceError.SETTINGS, ["config.xml"]),
], ids=["no-camera", "broken-settings"])
def test_opening_failures_name_their_cause(tmp_path, env, code, words):
    (tmp_path / "res").mkdir()
    (tmp_path / "res" / "config.xml").write_text("<not-closed>")
    app_dir = f"app-dir={tmp_path}" if not env else ""
    script = (
        "import gi; gi.require_version('Gst', '1.0'); from gi.repository import Gst; Gst.init(None)\n"
        f"p = Gst.parse_launch('nimbrelsrc {app_dir} ! fakesink'); p.set_state(Gst.State.PLAYING)\n"
        "m = p.get_bus().timed_pop_filtered(10 * Gst.SECOND, Gst.MessageType.ERROR)\n"
        "e = m.parse_error()[0]; print(e.domain, e.code, e.message); p.set_state(Gst.State.NULL)\n")
    out = subprocess.run([sys.executable, "-c", script], env={**os.environ, **env}, capture_output=True, text=True,
                         timeout=60, check=True).stdout
    domain, number, text = out.split(" ", 2)
    assert domain == "gst-resource-error-quark" and int(number) == int(code), out
    for word in words:
        assert word in text


def test_one_camera_of_several_by_its_id():
    several = {"UESIM_CAMERAS": "SIM1280-C,SIM1284-C"}
    chosen = gst_launch("-v", "nimbrelsrc", "camera=2", "num-buffers=2", "!", "fakesink", env=several)
    assert chosen.returncode == 0 and "sensor-name = SIM1284-C" in chosen.stdout, chosen.stdout + chosen.stderr
    missing = gst_launch("nimbrelsrc", "camera=3", "!", "fakesink", env=several)
    assert missing.returncode != 0 and "is_InitCamera" in missing.stdout + missing.stderr


def test_sdk_failure_mid_stream_is_posted_and_torn_down():
    failing = "is_GetImageInfo@20=-1"
    result = gst_launch("nimbrelsrc", f"camera={SMALL}", "!", "fakesink", env={"UESIM_FAIL": failing}, timeout=30)
    assert result.returncode != 0
    first = next(line for line in result.stdout.splitlines() + result.stderr.splitlines() if "ERROR" in line)
    assert "is_GetImageInfo" in first and "-1" in first, first
    assert "Internal data stream error" not in first


def probe_frames(path):
    out = subprocess.run(["ffprobe", "-v", "error", "-select_streams", "v:0", "-count_frames", "-show_entries",
                          "stream=codec_name,width,height,nb_read_frames", "-of", "json", str(path)],
                         env=tool_env(), capture_output=True, text=True, check=True).stdout
    return json.loads(out)["streams"][0]


@pytest.mark.parametrize("encode, suffix, codec", [
    ("videoconvert ! x264enc speed-preset=ultrafast ! matroskamux", "mkv", "h264"),
    ("videoconvert ! jpegenc ! avimux", "avi", "mjpeg"),
], ids=["h264-matroska", "mjpeg-avi"])
def test_recordings_hold_every_frame(tmp_path, encode, suffix, codec):
    path = tmp_path / f"f.{suffix}"
    result = gst_launch("-e", "nimbrelsrc", f"camera={SMALL}", "num-buffers=100", "!",
                        "video/x-raw,width=320,height=240,framerate=100/1", "!", *encode.split(), "!", "filesink",
                        f"location={path}")
    assert result.returncode == 0, result.stdout + result.stderr
    stream = probe_frames(path)
    assert (stream["codec_name"], stream["width"], stream["height"], int(stream["nb_read_frames"])) == \
        (codec, 320, 240, 100)


def test_image_sequence_has_one_file_a_frame(tmp_path):
    result = gst_launch("nimbrelsrc", f"camera={SMALL}", "num-buffers=100", "!", "video/x-raw,width=128,height=64,framerate=100/1",
                        "!", "pngenc", "!", "multifilesink", f"location={tmp_path}/frame-%05d.png")
    assert result.returncode == 0, result.stdout + result.stderr
    assert sorted(p.name for p in tmp_path.glob("frame-*.png")) == [f"frame-{n:05d}.png" for n in range(100)]


def test_opencv_reads_frames_through_gstreamer():
    script = ("import cv2\n"
              f"c = cv2.VideoCapture('nimbrelsrc camera={SMALL} ! video/x-raw,width=320,height=240,framerate=100/1 ! "
              "videoconvert ! video/x-raw,format=BGR ! appsink', cv2.CAP_GSTREAMER)\n"
              "frames = [c.read() for _ in range(5)]; c.release()\n"
              "print(all(ok for ok, _ in frames), frames[-1][1].shape)\n")
    out = subprocess.run([sys.executable, "-c", script], capture_output=True, text=True, timeout=60,
                         check=True).stdout
    assert out.split("\n")[0] == "True (240, 320, 3)", out


def test_monochrome_as_rgb_repeats_the_grey_level():
    with playing(f"nimbrelsrc camera=SIM1284-M ! video/x-raw,format=RGB ! appsink name=sink sync=false") as pipeline:
        frame = pixels(pull(pipeline, 2)[-1])
    assert frame.shape == (966, 1284, 3)
    assert (frame[..., 0] == frame[..., 1]).all() and (frame[..., 1] == frame[..., 2]).all()


def test_inside_a_wxpython_application(display):
    script = pathlib.Path(__file__).with_name("wx_app.py")
    out = subprocess.run([sys.executable, str(script)], env={**os.environ, "NO_AT_BRIDGE": "1", "DISPLAY": display},
                         capture_output=True, text=True, timeout=60, check=True).stdout
    assert out.split("\n")[-2] == "10 3.0", out
