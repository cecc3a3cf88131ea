"""Nimbrel cameras from Python: live pictures as numpy arrays, every camera parameter, AVI recordings, the
settings file."""

import os
from typing import Callable, Iterator, NamedTuple, TypedDict, Union

import numpy as np
import numpy.typing as npt

__version__: str

# A file or folder as open() and record() take it: a str or a pathlib.Path.
_Path = Union[str, os.PathLike[str]]

class CameraError(Exception):
    """A camera or settings operation failed.

    str(error) is the module's own text. message_id is 63 (a camera call failed: function names it and status
    holds the status it returned), 64 (a required configuration value is missing or unreadable), or None (the
    settings file could not be read or written, or the binding refused the call)."""

    message_id: int | None
    function: str | None
    status: int | None
    errno: int | None

class CameraClosedError(CameraError):
    """The camera was used after close() or after its with block: nimbrel_model.open() gives a new one."""

class _FactoryValues(TypedDict):
    master_gain: int
    red_gain: int
    green_gain: int
    blue_gain: int
    brightness: int
    clock: int
    gamma: int
    black_level: int
    color_mode: int
    color_correction: int
    auto_gain: bool
    bl_enable: bool
    exposure: float

class _PresetValues(TypedDict, total=False):
    master_gain: int
    red_gain: int
    green_gain: int
    blue_gain: int
    brightness: int
    auto_gain: bool
    exposure: float
    frame_rate: float
    width: int
    height: int

class Frame:
    """One whole frame of the area of interest, as the camera made it.

    array is a read-only numpy view of the frame's own memory (no copy), kept valid by the array itself."""

    @property
    def array(self) -> npt.NDArray[np.uint8]:
        """The pixels: a read-only numpy uint8 array, no copy."""
    @property
    def sequence(self) -> int:
        """The camera's frame number: a gap is frames that were dropped."""
    @property
    def device_time(self) -> float:
        """The camera's timestamp of the frame, in seconds (the camera's own clock)."""
    @property
    def host_time(self) -> float:
        """When the module had the frame, in seconds on the clock of time.monotonic()."""
    @property
    def width(self) -> int:
        """Width in pixels."""
    @property
    def height(self) -> int:
        """Height in pixels."""
    @property
    def is_color(self) -> bool:
        """RGB (True) or grey (False)."""

class FrameIterator(Iterator[Frame]):
    """Frames one after the other: see Camera.frames()."""

    def __iter__(self) -> FrameIterator: ...
    def __next__(self) -> Frame: ...

class Camera:
    """The open camera, from nimbrel_model.open().

    A context manager: leaving the with block closes the camera. Every failure of the camera raises CameraError;
    a camera used after close() raises CameraClosedError. Use it from the main thread."""

    exposure: float
    """Exposure time in milliseconds. The camera applies what it can: reading it back gives what it applied."""
    frame_rate: float
    """Frames per second of live capture. The camera may shorten the exposure to fit: read both back."""
    gain: int
    """Master gain, in the camera's units (0 to 100 on the simulated cameras); the colour gains stay."""
    red_gain: int
    """Red gain; the others stay."""
    green_gain: int
    """Green gain; the others stay."""
    blue_gain: int
    """Blue gain; the others stay."""
    brightness: int
    """Brightness, in the camera's units."""
    auto_gain: bool
    """Whether the camera adjusts its gain by itself."""
    @property
    def name(self) -> str:
        """The sensor's name, for example "SIM1280-C": the camera model in the configuration."""
    @property
    def is_color(self) -> bool:
        """False for a monochrome sensor (its pictures are grey, R = G = B)."""
    @property
    def max_width(self) -> int:
        """The sensor's width in pixels."""
    @property
    def max_height(self) -> int:
        """The sensor's height in pixels."""
    @property
    def width(self) -> int:
        """Width of the area of interest."""
    @property
    def height(self) -> int:
        """Height of the area of interest."""
    @property
    def pos_x(self) -> int:
        """Horizontal offset of the area of interest on the sensor."""
    @property
    def pos_y(self) -> int:
        """Vertical offset of the area of interest on the sensor."""
    @property
    def is_open(self) -> bool:
        """False once the camera is closed."""
    @property
    def is_recording(self) -> bool:
        """Whether a recording is open (running or paused)."""
    def set_gains(
        self, master: float | None = None, red: float | None = None, green: float | None = None,
        blue: float | None = None
    ) -> None:
        """Sets several gains in one camera call; None leaves that gain as it is."""
    @property
    def exposure_range(self) -> tuple[float, float, float]:
        """(min, max, step) of exposure in milliseconds for the current frame rate."""
    @property
    def frame_rate_range(self) -> tuple[float, float, float]:
        """(min, max, step) of frame_rate for the current area of interest."""
    @property
    def gain_range(self) -> tuple[int, int, int]:
        """(min, max, step) of gain."""
    @property
    def color_gain_range(self) -> tuple[int, int, int]:
        """(min, max, step) of red_gain, green_gain and blue_gain."""
    @property
    def brightness_range(self) -> tuple[int, int, int]:
        """(min, max, step) of brightness."""
    @property
    def width_range(self) -> tuple[int, int, int]:
        """(min, max, step) of the width set_aoi() takes."""
    @property
    def height_range(self) -> tuple[int, int, int]:
        """(min, max, step) of the height set_aoi() takes."""
    def frames(self, count: int | None = None, timeout: float = 1.0) -> FrameIterator:
        """Iterates over the camera's frames, each whole, numbered and timed, oldest first."""
    def grab(self, timeout: float = 1.0) -> Frame:
        """The next whole frame the camera makes, waiting up to timeout seconds."""
    @property
    def read_only(self) -> bool:
        """True when another program holds the settings file: saving raises CameraError naming it."""
    @property
    def frames_dropped(self) -> int:
        """Frames the camera made since the frame stream started that no consumer got."""
    def set_aoi(self, width: int, height: int) -> None:
        """Sets the area of interest: the size rounded down to the camera's steps, centred on the sensor; exposure
        and frame rate are kept. Read width and height back for what was set."""
    def set_default_aoi(self) -> None:
        """The whole sensor as the area of interest."""
    def set_default_gain(self) -> None:
        """The factory gains of this camera model."""
    def set_default_exposure(self) -> None:
        """The factory exposure."""
    def set_default_frame_rate(self) -> None:
        """The camera's own default frame rate."""
    def set_default_brightness(self) -> None:
        """The factory brightness."""
    def do_white_balance(self) -> None:
        """Starts the camera's automatic white balance and returns at once."""
    def stop_white_balance(self) -> None:
        """Stops it; the colour gains keep the values it reached."""
    def save_user_settings(self) -> None:
        """Stores the camera's current values as this model's preset, applied at each open."""
    def reset_user_settings(self) -> None:
        """Deletes this model's preset and reopens the camera with the factory values (a recording is stopped
        first)."""
    def picture(self) -> npt.NDArray[np.uint8]:
        """The live picture of the area of interest: a new numpy uint8 array of shape (height, width, 3), RGB."""
    def record(
        self,
        path: _Path,
        seconds: float,
        fps: float | None = None,
        max_size_mb: float | None = None,
        replay_fps: int | None = None,
        progress: Callable[[float, float], object] | None = None,
    ) -> None:
        """Records a Motion-JPEG AVI file and returns when the recording has ended by itself.

        path: the file (an existing one is replaced); seconds: its length, above 0 (frames are counted at 1 / fps
        each); fps: frames taken per second, None for the camera's frame rate; max_size_mb: ends the recording
        earlier at that size, None for no limit; replay_fps: the rate written into the file for playback, None for
        fps; progress(recorded_seconds, seconds): called about ten times a second while it records.
        The event loop runs meanwhile. Ctrl-C stops the recording, the file finished, and raises
        KeyboardInterrupt; a frame that cannot be written stops it and raises CameraError."""
    def start_recording(
        self,
        path: _Path,
        seconds: float,
        fps: float | None = None,
        max_size_mb: float | None = None,
        replay_fps: int | None = None,
        on_end: Callable[[CameraError | None], object] | None = None,
    ) -> None:
        """Starts a recording and returns at once; the event loop (run_events(), or a wxPython application's main
        loop) takes its frames.

        The arguments are those of record(), but seconds 0 or less means no length limit. on_end(error) is called
        on the main thread when the recording ends by itself: error is None at its length or size limit, the
        CameraError when a frame could not be written (the file is then finished with the frames before).
        stop_recording() ends it without on_end. While a recording is paused, start_recording() resumes it: path
        and replay_fps are then ignored, and the time already recorded counts against seconds."""
    def pause_recording(self) -> None:
        """Holds the recording: no frames are taken, the file stays open; start_recording() resumes it."""
    def stop_recording(self) -> None:
        """Ends the recording and closes its file, complete and playable. Nothing when none is open."""
    def optimize_clock(self, on_end: Callable[[], object] | None = None) -> None:
        """Lets the camera find its fastest pixel clock and frame rate (up to about 5 s) and applies them.

        Without on_end it waits, the event loop running, until that is done. With on_end it returns at once, and
        on_end() is called on the main thread when the work is over, from the event loop."""
    def close(self) -> None:
        """Closes the camera: stops a recording (the file finished), waits for an optimisation to end. Closing
        twice does nothing."""
    def __enter__(self) -> Camera: ...
    def __exit__(self, *args: object) -> None: ...

class Config:
    """The configuration store: the settings file res/config.xml.

    Get it with nimbrel_model.config(). Reads come from the file as loaded; every change is saved to the file at
    once (atomically). Per camera model (the camera's name, such as "SIM1280-C") the file holds the factory values
    and the user preset; for the whole module the recording settings and the interface language. A missing camera
    model or factory value raises CameraError with message_id 64. Use it from one thread at a time."""

    @property
    def path(self) -> str:
        """The settings file in use."""
    def load(self) -> None:
        """Reads the file again, dropping changes held only in memory."""
    language: str
    """The hosts' interface language ("French" when the file names none); setting it saves the file."""
    conf_saved: bool
    """Whether the camera's live settings are stored in its preset: a camera change clears it,
    save_user_settings() and reset_user_settings() set it."""
    record_conf_saved: bool
    """Whether the recording settings are stored."""
    @property
    def has_recording_settings(self) -> bool:
        """Whether the file holds any recording setting."""
    def save_recording_settings(
        self, length: float, frame_rate: float, max_size: float, replay_frame_rate: int
    ) -> None:
        """Stores the four recording settings (fractions dropped) and sets record_conf_saved."""
    def reset_recording_settings(self) -> None:
        """Removes the recording settings and sets record_conf_saved."""
    def factory(self, camera: str) -> _FactoryValues:
        """The factory values of a camera model as a dict (master_gain is -1 when its gain is automatic)."""
    def has_preset(self, camera: str) -> bool:
        """Whether a user preset is stored for the camera model."""
    def preset(self, camera: str) -> _PresetValues:
        """The stored preset values of a camera model as a dict; a value not stored is left out."""
    def set_preset(self, camera: str, **values: float) -> None:
        """Stores preset values by keyword: master_gain, red_gain, green_gain, blue_gain, auto_gain, brightness,
        exposure, frame_rate, and width with height. Each saves the file."""
    def clear_preset(self, camera: str) -> None:
        """Removes the user preset of a camera model: the next open applies the factory values."""
    recording_length: int
    """Stored recording length, seconds (0: none)."""
    recording_frame_rate: int
    """Stored recording frame rate (0: none)."""
    recording_max_size: int
    """Stored size limit, megabytes (0: none)."""
    recording_replay_frame_rate: int
    """Stored replay frame rate (0: none)."""

class CameraInfo(NamedTuple):
    """A connected camera: id (what open(camera=...) takes), model (the sensor's name) and in_use (open
    already, here or in another process: it cannot be opened now)."""

    id: int
    model: str
    in_use: bool

def cameras() -> list[CameraInfo]:
    """The cameras connected to the computer, as CameraInfo tuples in the camera SDK's order; empty when there
    is none. Needs no open camera; CameraError when the SDK cannot list them."""

def open(app_dir: _Path | None = None, camera: str | int | None = None) -> Camera:
    """Loads the settings and opens the camera; returns a Camera, to close (or use in a with block).

    app_dir: the folder whose res/config.xml holds the settings; None for the per-user settings folder
    ($XDG_CONFIG_HOME/nimbrel-model, else ~/.config/nimbrel-model), created from the shipped file on first use.
    camera: a camera id from cameras() (an int, or its digits), or a simulated camera to open ("SIM1280-C",
    "SIM1280-M", "SIM2592-C", "SIM4912-M", "SIM1284-C", "SIM1284-M") in a simulator build; None for the first
    camera (in the simulator the first that UESIM_CAMERAS or UESIM_CAMERA names, whatever an earlier open
    chose). One camera is open at a time: a second open() raises CameraError."""

def run_events(seconds: float) -> None:
    """Runs the event loop for that many seconds: recordings take their frames and callbacks run. Not needed
    inside a wxPython application, whose main loop does it."""

def config() -> Config:
    """The configuration store (nimbrel_model.Config), loaded from the per-user settings folder unless open()
    loaded another."""

def _close_at_exit() -> None:
    """Closes the camera and ends the binding's own wxWidgets, at exit."""
