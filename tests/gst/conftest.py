"""Shared pieces of the nimbrelsrc tests: GStreamer from Debian's Python, the plugin from the build tree, and a
pipeline runner that always ends in NULL."""
import contextlib
import os
import pathlib
import subprocess
import sys

import gi
import pytest

gi.require_version("Gst", "1.0")
from gi.repository import Gst  # noqa: E402

Gst.init(None)

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1] / "support"))
from shared_fixtures import display, settings_home, tool_env  # noqa: E402,F401 (fixtures are found by name)

SECOND = Gst.SECOND


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




def gst_launch(*args, env=None, timeout=60):
    """gst-launch-1.0 with these arguments; returns the finished process."""
    return subprocess.run(["gst-launch-1.0", *args], env={**os.environ, **(env or {})}, capture_output=True,
                          text=True, timeout=timeout, check=False)
