"""Fixtures and helpers every pytest group shares: a private settings folder for each test, a virtual X
display, and the environment for tools that must not get a sanitizer's preload. A group's conftest.py
imports them by name."""
import os
import subprocess

import pytest


def tool_env():
    """The environment for programs that never load our libraries (Xvfb, ffprobe): without a sanitizer's preload."""
    env = dict(os.environ)
    env.pop("LD_PRELOAD", None)
    return env


@pytest.fixture(autouse=True)
def settings_home(tmp_path, monkeypatch):
    """The per-user settings folder, never the real ~/.config."""
    monkeypatch.setenv("XDG_CONFIG_HOME", str(tmp_path / "xdg"))
    return tmp_path / "xdg" / "nimbrel-model"


@pytest.fixture(scope="session")
def display():
    """A virtual X display. Xvfb picks a free display number itself (-displayfd), so that parallel runs never
    race for one, and keeps serving after its last client left (-noreset)."""
    read, write = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
                               "-noreset"], pass_fds=(write,), env=tool_env(), stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as numbers:
        number = numbers.readline().strip()
    yield ":" + number
    server.terminate()
    server.wait()
