"""The binding at the edges: a settings file another process holds, a file system that fills, recording targets
and values refused before anything is touched, the wrong thread, a torn preset."""
import fcntl
import json
import os
import pathlib
import subprocess

import pytest

import nimbrel_model as nm
from conftest import SHIPPED, probe, run_python, tool_env

DEMO = pathlib.Path(os.environ.get("NIMBREL_BUILD_DIR", pathlib.Path(__file__).resolve().parents[2] / "build")) / \
    "bin" / "nimbrel-demo"
TORN = "  <UserMasterGain>5</UserMasterGain>\n    </SIM1280-C>"


@pytest.fixture
def app(tmp_path):
    """A settings folder of its own, as the tools take with --app-dir."""
    (tmp_path / "app" / "res").mkdir(parents=True)
    (tmp_path / "app" / "res" / "config.xml").write_bytes(SHIPPED.read_bytes())
    return tmp_path / "app"


def user_values(app, camera):
    """The preset of a camera in the file, value by value."""
    import xml.etree.ElementTree as tree
    element = tree.parse(app / "res" / "config.xml").getroot().find("CameraSettings/" + camera)
    return {child.tag: child.text.strip() for child in element if child.tag.startswith("User")}


def demo(app, *args):
    return subprocess.run([DEMO, "--app-dir", app, *args], env=tool_env(), capture_output=True, text=True,
                          timeout=60, check=False)


def test_a_settings_file_held_elsewhere_is_read_only_and_saves_nothing(app):
    lock = os.open(app / "res" / "config.xml.lock", os.O_RDWR | os.O_CREAT)
    os.write(lock, b"4242 nimbrel-viewer\n")
    fcntl.flock(lock, fcntl.LOCK_EX)
    before = (app / "res" / "config.xml").read_bytes()
    try:
        with nm.open(app_dir=app) as cam:
            assert cam.read_only
            for save in (cam.save_user_settings, cam.reset_user_settings,
                         lambda: setattr(nm.config(), "language", "English")):
                with pytest.raises(nm.CameraError, match=r"in use by nimbrel-viewer \(pid 4242\)"):
                    save()
    finally:
        os.close(lock)
    assert (app / "res" / "config.xml").read_bytes() == before


def test_a_tool_saving_while_python_holds_the_file_is_refused_and_both_presets_stay(app):
    with nm.open(app_dir=app) as cam:
        assert not cam.read_only
        refused = demo(app, "--camera", "SIM2592-C", "--gain", "33", "--save-preset")
        assert refused.returncode == 1
        assert f"in use by python3 (pid {os.getpid()})" in refused.stderr
    saved = demo(app, "--camera", "SIM2592-C", "--gain", "33", "--save-preset")
    assert saved.returncode == 0, saved.stderr
    with nm.open(app_dir=app) as cam:  # read again: the tool's preset is the base of this save
        cam.gain = 12
        cam.save_user_settings()
    tool, own = user_values(app, "SIM2592-C"), user_values(app, "SIM1280-C")
    assert len(tool) == len(own) == 10 and tool["UserMasterGain"] == "33" and own["UserMasterGain"] == "12"


@pytest.mark.parametrize("target", ["NUL", "FIFO", "device", "folder"])
def test_a_target_that_is_no_regular_file_is_refused_before_anything_is_touched(camera, tmp_path, target):
    tmp_path = tmp_path / "files"
    tmp_path.mkdir()
    victim = tmp_path / "victim"
    victim.write_bytes(b"kept")
    os.mkfifo(tmp_path / "fifo")
    path = {"NUL": str(victim) + "\0.avi", "FIFO": tmp_path / "fifo", "device": "/dev/null", "folder": tmp_path}[target]
    with pytest.raises(ValueError, match="NUL|FIFO|character device|directory"):
        camera.record(path, 1, fps=25)
    assert victim.read_bytes() == b"kept" and sorted(p.name for p in tmp_path.iterdir()) == ["fifo", "victim"]


@pytest.mark.parametrize("arguments", [dict(fps=1e300), dict(fps=1001), dict(replay_fps=5000),
                                       dict(replay_fps=2**31 + 5), dict(seconds=1e6), dict(seconds=2, fps=0.4),
                                       dict(max_size_mb=2e6)], ids=str)
def test_a_refused_value_leaves_the_existing_file(camera, tmp_path, arguments):
    clip = tmp_path / "clip.avi"
    clip.write_bytes(b"earlier recording")
    with pytest.raises(ValueError):
        camera.record(clip, **{"seconds": 1, **arguments})
    with pytest.raises(ValueError):
        camera.start_recording(clip, **{"seconds": 1, **arguments})
    assert clip.read_bytes() == b"earlier recording" and not camera.is_recording


def test_a_file_name_is_the_file_systems_bytes(camera, tmp_path):
    clip = tmp_path / os.fsdecode(b"clip\xff.avi")
    camera.record(clip, 0.2, fps=25)
    assert b"clip\xff.avi" in os.listdir(os.fsencode(tmp_path)) and probe(clip)["declared"] == 5


@pytest.fixture
def small_disk(tmp_path):
    """A 3 MiB file system, mounted for the test (root only)."""
    if os.geteuid() != 0:
        pytest.skip("a small tmpfs needs root")
    folder = tmp_path / "small"
    folder.mkdir()
    subprocess.run(["mount", "-t", "tmpfs", "-o", "size=3m", "tmpfs", folder], check=True)
    yield folder
    subprocess.run(["umount", folder], check=True)


def free_bytes(folder):
    disk = os.statvfs(folder)
    return disk.f_bavail * disk.f_frsize


@pytest.mark.parametrize("camera", ["SIM1280-M", "SIM2592-C"], indirect=True)
def test_a_recording_on_a_filling_disk_ends_finished_and_frees_its_space(camera, small_disk):
    clip = small_disk / "clip.avi"
    for attempt in range(2):  # the second finds the space of the first once that is deleted
        with pytest.raises(nm.CameraError, match="nearly full.*could be finished; it keeps [1-9]"):
            camera.record(clip, 20, fps=100)
        info = probe(clip)
        assert info["frames"] == info["declared"] > 0
        clip.unlink()
        assert free_bytes(small_disk) > 3 * 1024 * 1024 - 64 * 1024
    ends = []
    camera.start_recording(clip, 0, fps=100, on_end=ends.append)
    while not ends:
        nm.run_events(0.1)
    assert "nearly full" in str(ends[0]) and probe(clip)["frames"] == probe(clip)["declared"] > 0


CHILD = """
import json, os, sys, threading
import nimbrel_model as nm
def error_of(action):
    try:
        action()
    except nm.CameraError as error:
        return str(error)
exec(sys.argv[1])
"""


def test_a_write_that_fails_with_its_stop_leaves_a_finished_file_and_no_descriptor(tmp_path):
    clip = tmp_path / "clip.avi"
    out = run_python("-c", CHILD, """
cam = nm.open()
said = error_of(lambda: cam.record(sys.argv[2], 2, fps=25))
open_files = [os.path.realpath("/proc/self/fd/" + fd) for fd in os.listdir("/proc/self/fd")]
print(json.dumps([said, sys.argv[2] in open_files]))
""", clip, env={"UESIM_FAIL": "isavi_AddFrame@5=300,isavi_StopAVI@1=300", "XDG_CONFIG_HOME": str(tmp_path)})
    said, still_open = json.loads(out)
    assert "isavi_AddFrame" in said and not still_open
    assert probe(clip)["frames"] == probe(clip)["declared"] == 4


def test_open_off_the_main_thread_is_refused_and_leaves_the_main_thread_usable(tmp_path):
    out = run_python("-c", CHILD, """
said = []
worker = threading.Thread(target=lambda: said.append(error_of(nm.open)))
worker.start()
worker.join()
with nm.open() as cam:
    said.append(cam.width)
print(json.dumps(said))
""", env={"XDG_CONFIG_HOME": str(tmp_path)})
    said, width = json.loads(out)
    assert "main thread" in said and width == 1280


def test_a_torn_preset_is_named_with_the_call_that_clears_it(app):
    config = app / "res" / "config.xml"
    config.write_text(config.read_text().replace("</SIM1280-C>", TORN, 1))
    with pytest.raises(nm.CameraError, match=r"preset is stored for SIM1280-C.*clear_preset\('SIM1280-C'\)") as torn:
        nm.open(app_dir=app, camera="SIM1280-C")
    assert (torn.value.function, torn.value.status) == ("is_SetImageSize", 125)
    nm.config().clear_preset("SIM1280-C")
    with nm.open(app_dir=app, camera="SIM1280-C") as cam:
        assert cam.width == 1280


@pytest.mark.parametrize("script", [
    "import wx\nprint(json.dumps(error_of(nm.open)))",
    "cam = nm.open()\nimport wx\napp = wx.App(False)\n"
    "print(json.dumps(error_of(lambda: cam.start_recording(sys.argv[2], 1, fps=25))))"],
    ids=["wx imported first", "wx.App made after open"])
def test_open_before_wx_app_raises_rather_than_record_nothing(tmp_path, display, script):
    out = run_python("-c", CHILD, script, tmp_path / "clip.avi",
                     env={"DISPLAY": display, "XDG_CONFIG_HOME": str(tmp_path)})
    assert "before" in json.loads(out.splitlines()[-1]) and not (tmp_path / "clip.avi").exists()


def test_a_fractional_rate_is_kept_for_playback(camera, tmp_path):
    clip = tmp_path / "clip.avi"
    camera.record(clip, 0.8, fps=12.5)
    info = probe(clip)
    assert info["rate"] == "25/2" and info["frames"] == info["declared"] in (10, 11)
