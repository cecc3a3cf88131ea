"""Shared pieces of the nimbrelsrc tests: GStreamer from Debian's Python, the plugin from the build tree, and a
pipeline runner that always ends in NULL."""
import contextlib
import os
import subprocess

import gi
import pytest

gi.require_version("Gst", "1.0")
from gi.repository import Gst  # noqa: E402

Gst.init(None)

SECOND = Gst.SECOND


@pytest.fixture(autouse=True)
def settings_home(tmp_path, monkeypatch):
    """The per-user settings folder, never the real ~/.config."""
    monkeypatch.setenv("XDG_CONFIG_HOME", str(tmp_path / "xdg"))
    return tmp_path / "xdg" / "nimbrel-model"


@contextlib.contextmanager
def playing(description):
    """A pipeline from gst-launch syntax, PLAYING inside the block and NULL after it."""
    pipeline = Gst.parse_launch(description)
    pipeline.set_state(Gst.State.PLAYING)
    try:
        yield pipeline
    finally:
        pipeline.set_state(Gst.State.NULL)


def pull(pipeline, count, sink="sink", timeout=10):
    """`count` samples from the appsink, or the bus's error as an AssertionError."""
    appsink = pipeline.get_by_name(sink)
    samples = []
    while len(samples) < count:
        sample = appsink.emit("try-pull-sample", timeout * SECOND)
        if sample is None:
            raise AssertionError("no sample: %s" % bus_error(pipeline, 0)[0])
        samples.append(sample)
    return samples


def bus_error(pipeline, timeout=5):
    """The first error on the bus: its text and the GError ("", None when none came)."""
    message = pipeline.get_bus().timed_pop_filtered(timeout * SECOND, Gst.MessageType.ERROR)
    if message is None:
        return "", None
    error, _ = message.parse_error()
    return error.message, error


def tool_env():
    """The environment for tools that never load the plugin (Xvfb, ffprobe): without a sanitizer's preload."""
    env = dict(os.environ)
    env.pop("LD_PRELOAD", None)
    return env


@pytest.fixture(scope="session")
def display():
    """A virtual X display. Xvfb picks a free display number itself (-displayfd): parallel runs never race for one."""
    read, write = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "640x480x24", "-nolisten", "tcp",
                               "-noreset"], pass_fds=(write,), env=tool_env(), stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as numbers:
        number = numbers.readline().strip()
    yield ":" + number
    server.terminate()
    server.wait()


def gst_launch(*args, env=None, timeout=60):
    """gst-launch-1.0 with these arguments; returns the finished process."""
    return subprocess.run(["gst-launch-1.0", *args], env={**os.environ, **(env or {})}, capture_output=True,
                          text=True, timeout=timeout, check=False)
