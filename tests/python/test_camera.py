"""The camera from Python: properties, pictures, the settings file, the camera's life and its errors."""
import json

import numpy as np
import pytest

import nimbrel_model as nm
from conftest import SHIPPED, probe, run_python

# The simulator's static lower half: eight vertical bars, as (red, green, blue) on or off.
BARS = [(1, 0, 0), (0, 1, 0), (0, 0, 1), (1, 1, 1), (1, 1, 0), (0, 1, 1), (1, 0, 1), (0, 0, 0)]
LUMA = [77 * r + 150 * g + 29 * b for r, g, b in BARS]


@pytest.mark.parametrize("name, value", [("exposure", 12.5), ("frame_rate", 20.0), ("gain", 30), ("red_gain", 25),
                                         ("green_gain", 7), ("blue_gain", 40), ("brightness", 100),
                                         ("auto_gain", True), ("auto_gain", False)])
def test_a_property_reads_back_what_was_set(camera, name, value):
    setattr(camera, name, value)
    assert getattr(camera, name) == pytest.approx(value)
    assert not nm.config().conf_saved or name == "auto_gain"


def test_each_gain_leaves_the_others_alone(camera):
    camera.red_gain, camera.green_gain, camera.blue_gain, camera.gain = 11, 22, 33, 44
    assert (camera.gain, camera.red_gain, camera.green_gain, camera.blue_gain) == (44, 11, 22, 33)
    camera.set_default_gain()
    assert (camera.gain, camera.red_gain, camera.blue_gain) == (0, 12, 20)  # the shipped factory values


@pytest.mark.parametrize("camera, size", [("SIM1280-C", (1280, 1024)), ("SIM1280-M", (1280, 1024)),
                                          ("SIM2592-C", (2592, 1944)), ("SIM4912-M", (4912, 3684)),
                                          ("SIM1284-M", (1284, 966))],
                         indirect=["camera"])
def test_the_sensor_is_the_one_chosen(camera, size):
    assert (camera.max_width, camera.max_height) == (camera.width, camera.height) == size
    assert camera.is_color == camera.name.endswith("-C")
    assert camera.picture().shape == (size[1], size[0], 3)


def test_the_area_of_interest_is_aligned_and_centred(camera):
    camera.set_aoi(801, 601)
    assert (camera.width, camera.height) == (800, 600)
    assert (camera.pos_x, camera.pos_y) == (240, 212)
    camera.set_default_aoi()
    assert (camera.width, camera.height, camera.pos_x, camera.pos_y) == (1280, 1024, 0, 0)


def bar_samples(camera, picture):
    """(bar, pixel) pairs from the static bars; picture[y, x] is sensor pixel (x + pos_x, y + pos_y)."""
    bar = camera.max_width // 8
    for y in range(0, picture.shape[0], 19):
        if y + camera.pos_y < camera.max_height // 2 + 8:
            continue
        for x in range(0, picture.shape[1], 13):
            if 4 <= (x + camera.pos_x) % bar < bar - 4:
                yield (x + camera.pos_x) // bar, picture[y, x]


@pytest.mark.parametrize("camera, aoi", [("SIM1280-C", None), ("SIM1280-C", (640, 480)), ("SIM1280-M", None),
                                         ("SIM1280-M", (800, 600))], indirect=["camera"])
def test_the_picture_shows_what_the_sensor_sees(camera, aoi):
    if aoi:
        camera.set_aoi(*aoi)
        nm.run_events(0.2)
    picture = camera.picture()
    assert picture.dtype == np.uint8 and picture.shape == (camera.height, camera.width, 3)
    assert picture.flags.owndata and picture.flags.c_contiguous
    samples = list(bar_samples(camera, picture))
    assert len(samples) > 100
    if camera.is_color:
        wrong = [(bar, tuple(pixel)) for bar, pixel in samples if tuple(pixel > 128) != BARS[bar]]
        assert not wrong[:5]
        return
    assert all(pixel[0] == pixel[1] == pixel[2] for _, pixel in samples)
    means = {bar: np.mean([p[0] for b, p in samples if b == bar]) for bar, _ in samples}
    by_luma = [means[bar] for bar in sorted(means, key=LUMA.__getitem__)]
    assert by_luma == sorted(by_luma) and by_luma[-1] - by_luma[0] > 100


def test_a_preset_saved_applies_at_the_next_open_until_reset():
    with nm.open(camera="SIM1280-C") as cam:
        cam.exposure = 12.5
        cam.set_aoi(640, 480)
        cam.save_user_settings()
        assert nm.config().conf_saved
    assert nm.config().has_preset("SIM1280-C")
    with nm.open() as cam:
        assert (cam.exposure, cam.width, cam.height) == (pytest.approx(12.5), 640, 480)
        cam.reset_user_settings()
        assert (cam.exposure, cam.width) == (pytest.approx(15.5), 1280)
    assert not nm.config().has_preset("SIM1280-C")


def test_the_user_settings_folder_is_seeded_from_the_shipped_file(settings_home, tmp_path):
    with nm.open() as cam:
        cam.do_white_balance()
        cam.stop_white_balance()
    seeded = settings_home / "res" / "config.xml"
    assert seeded.read_bytes() == SHIPPED.read_bytes()
    config = nm.config()
    assert config.path == str(seeded) and config.language == "System"
    config.language = "English"
    assert "<Language>English</Language>" in seeded.read_text()
    (tmp_path / "app" / "res").mkdir(parents=True)
    (tmp_path / "app" / "res" / "config.xml").write_bytes(SHIPPED.read_bytes())
    with nm.open(app_dir=tmp_path / "app"):
        assert nm.config().path == str(tmp_path / "app" / "res" / "config.xml")


def test_the_configuration_store(camera):
    config = nm.config()
    assert config.factory("SIM1280-C") == {
        "master_gain": 0, "red_gain": 12, "green_gain": 0, "blue_gain": 20, "auto_gain": False, "brightness": 110,
        "exposure": 15.5, "clock": 43, "gamma": 100, "bl_enable": True, "black_level": 40, "color_mode": 129,
        "color_correction": 1}
    config.save_recording_settings(10.9, 25.5, 100, 12)
    assert (config.recording_length, config.recording_frame_rate, config.recording_max_size,
            config.recording_replay_frame_rate, config.record_conf_saved) == (10, 25, 100, 12, True)
    config.reset_recording_settings()
    assert not config.has_recording_settings and config.recording_length == 0
    config.set_preset("SIM1280-M", exposure=20.0, brightness=90, width=640, height=480)
    assert config.preset("SIM1280-M") == {"exposure": 20.0, "brightness": 90, "width": 640, "height": 480}
    assert not config.has_preset("SIM1280-M")  # a preset is marked by its master gain
    config.clear_preset("SIM1280-M")
    assert config.preset("SIM1280-M") == {}
    for bad in (dict(width=5), dict(speed=1)):
        with pytest.raises(TypeError):
            config.set_preset("SIM1280-M", **bad)
    with pytest.raises(nm.CameraError) as missing:
        config.factory("SIM0000-X")
    assert missing.value.message_id == 64


def test_a_camera_lives_from_open_to_close(tmp_path):
    cam = nm.open(camera="SIM1280-C")
    with pytest.raises(nm.CameraError, match="already open"):
        nm.open()
    assert "SIM1280-C" in repr(cam)
    cam.close()
    cam.close()
    assert not cam.is_open and "closed" in repr(cam)
    for use in (lambda: cam.exposure, lambda: setattr(cam, "gain", 1), cam.picture, cam.set_default_aoi,
                lambda: cam.record(tmp_path / "x.avi", 1)):
        with pytest.raises(nm.CameraClosedError, match="closed"):
            use()
    assert issubclass(nm.CameraClosedError, nm.CameraError)
    with nm.open(camera="SIM1280-M") as cam:
        assert not cam.is_color
    with nm.open(camera="SIM1280-C") as cam:
        assert cam.is_color  # a fresh camera each time
    with pytest.raises(ValueError, match="SIM1280-C"):
        nm.open(camera="SIM9999-Q")


@pytest.mark.parametrize("edit, message_id", [(lambda text: text.replace("<Gamma>100</Gamma>", "", 1), 64),
                                              (lambda text: text[:200], None)])
def test_a_broken_settings_file_raises_camera_error(tmp_path, edit, message_id):
    (tmp_path / "res").mkdir()
    (tmp_path / "res" / "config.xml").write_text(edit(SHIPPED.read_text()))
    with pytest.raises(nm.CameraError) as caught:
        nm.open(app_dir=tmp_path)
    assert (caught.value.message_id, caught.value.function, caught.value.status) == (message_id, None, None)
    assert str(caught.value)
    nm.open().close()  # nothing was left open


FAULT = """
import json, sys
import nimbrel_model as nm
try:
    exec(sys.argv[1])
except nm.CameraError as error:
    print(json.dumps([error.message_id, error.function, error.status, str(error)]))
"""


@pytest.mark.parametrize("fault, action, function, status", [
    ("is_ListConnectedCameras=5", "nm.cameras()", "is_ListConnectedCameras", 5),
    ("is_SetGamma=3", "nm.open()", "is_SetGamma", 3),
    ("is_SetAOI=-4", "nm.open().width", "is_SetAOI", -4),
    ("isavi_InitAVI=7", "nm.open().start_recording(sys.argv[2], 1)", "isavi_InitAVI", 7),
    ("isavi_AddFrame@3=9", "nm.open().record(sys.argv[2], 1, fps=25)", "isavi_AddFrame", 9)])
def test_an_sdk_failure_arrives_as_camera_error(tmp_path, fault, action, function, status):
    # The simulator reads UESIM_FAIL when it loads: each fault gets a process of its own.
    clip = tmp_path / "clip.avi"
    out = run_python("-c", FAULT, action, clip, env={"UESIM_FAIL": fault, "XDG_CONFIG_HOME": str(tmp_path)})
    message_id, failed, got_status, text = json.loads(out)
    assert (message_id, failed, got_status) == (63, function, status)
    assert function in text and text.endswith(str(status))
    if function == "isavi_AddFrame":  # the frames before the failure, in a finished file
        assert probe(clip)["frames"] == probe(clip)["declared"] == 2


CAMERAS = """
import json
import nimbrel_model as nm
seen = [nm.cameras()]
with nm.open(camera=2) as cam:
    seen.append(nm.cameras())
with nm.open() as cam:  # the first again, and the list stays whole
    seen.append(nm.cameras())
print(json.dumps([[list(info) for info in listed] for listed in seen]))
"""


def test_the_connected_cameras_are_listed_before_and_while_one_is_open(tmp_path):
    out = run_python("-c", CAMERAS, env={"UESIM_CAMERAS": "SIM1280-C,SIM2592-C", "XDG_CONFIG_HOME": str(tmp_path)})
    first, second = [1, "SIM1280-C"], [2, "SIM2592-C"]
    assert json.loads(out) == [[first + [False], second + [False]], [first + [False], second + [True]],
                               [first + [True], second + [False]]]
    (info,) = nm.cameras()
    assert (type(info).__module__, info.id, info.model) == ("nimbrel_model", 1, "SIM1280-C")
