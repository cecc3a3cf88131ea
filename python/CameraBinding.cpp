#include "Bindings.h"

#include "Camera.h"
#include "Errors.h"
#include "EventLoop.h"
#include "Frames.h"
#include "Picture.h"
#include "Ranges.h"
#include "Settings.h"

#include <pybind11/stl.h>

#include <cmath>
#include <sstream>
#include <string>
#include <variant>

namespace nimbrel_python {

namespace {

namespace nm = Nimbrel_model;

// The file system's bytes: a name that is no valid UTF-8 (surrogate-escaped
// in Python) names the same file, and a NUL stays in, to be refused.
std::string absolutePath(const py::object& path) {
    const py::module_ os = py::module_::import("os");
    return os.attr("fsencode")(os.attr("path").attr("abspath")(os.attr("fspath")(path))).cast<std::string>();
}

RecordingRequest request(const py::object& path, double seconds, std::optional<double> fps,
                         std::optional<double> maxSizeMb, std::optional<long> replayFps) {
    return {absolutePath(path), seconds, fps, maxSizeMb, replayFps};
}

std::string describe(Camera& session) {
    if (!session.isOpen()) return "<nimbrel_model.Camera, closed>";
    const nm::Camera& camera = session.camera();
    std::ostringstream text;
    text << "<nimbrel_model.Camera " << camera.getName().str() << ", " << camera.getMaxWidth() << " x "
         << camera.getMaxHeight() << (camera.isColor() ? " colour" : " monochrome") << ">";
    return text.str();
}

// A read-write property over a getter and a setter of the camera.
template <typename Value, typename Get, typename Set>
void cameraProperty(py::class_<Camera>& cls, const char* name, Get get, Set set, const char* doc) {
    cls.def_property(
        name, [get](Camera& s) { return get(s.camera()); }, [set](Camera& s, Value value) { set(s.camera(), value); },
        doc);
}

template <typename Get>
void cameraReading(py::class_<Camera>& cls, const char* name, Get get, const char* doc) {
    cls.def_property_readonly(
        name, [get](Camera& s) { return get(s.camera()); }, doc);
}

template <void (nm::Camera::*Action)()>
void cameraAction(py::class_<Camera>& cls, const char* name, const char* doc) {
    cls.def(
        name, [](Camera& s) { (s.camera().*Action)(); }, doc);
}

int gainValue(double reported) { return static_cast<int>(std::lround(reported)); }

// CameraInfo is a named tuple: it unpacks, compares and prints as one.
void bindCameraList(py::module_& module) {
    const py::module_ builtins = py::module_::import("builtins");
    py::list fields;
    fields.append(py::make_tuple("id", builtins.attr("int")));
    fields.append(py::make_tuple("model", builtins.attr("str")));
    fields.append(py::make_tuple("in_use", builtins.attr("bool")));
    py::object info = py::module_::import("typing").attr("NamedTuple")("CameraInfo", fields);
    info.attr("__module__") = module.attr("__name__");
    info.attr("__doc__") =
        "A connected camera: id (what open(camera=...) takes), model (the sensor's name) and in_use (open "
        "already, here or in another process: it cannot be opened now).";
    module.attr("CameraInfo") = info;
    module.def(
        "cameras",
        [info]() {
            py::list listed;
            for (const auto& camera : nm::Camera::getConnectedCameras())
                listed.append(info(camera.id, camera.model.str(), camera.inUse));
            return listed;
        },
        R"(The cameras connected to the computer, as CameraInfo tuples in the camera SDK's order; empty when
there is none. Needs no open camera; CameraError when the SDK cannot list them.)");
}

}  // namespace

void bindCamera(py::module_& module) {
    py::class_<Camera> cls(module, "Camera", R"(The open camera, from nimbrel_model.open().

A context manager: leaving the with block closes the camera. Every failure of the camera raises CameraError; a
camera used after close() raises CameraClosedError. Use it from the main thread.)");

    cameraProperty<double>(
        cls, "exposure", [](nm::Camera& c) { return c.getExposure(); }, &setExposureChecked,
        "Exposure time in milliseconds, within exposure_range (ValueError outside it). The camera applies what it "
        "can: reading it back gives what it applied.");
    cameraProperty<double>(
        cls, "frame_rate", [](nm::Camera& c) { return c.getFrameRate(); }, &setFrameRateChecked,
        "Frames per second of live capture, within frame_rate_range (ValueError outside it). The camera may shorten "
        "the exposure to fit: read both back.");
    cameraProperty<double>(
        cls, "gain", [](nm::Camera& c) { return gainValue(c.getGain()); },
        [](nm::Camera& c, double gain) { setGainsChecked(c, gain, {}, {}, {}); },
        "Master gain, a whole number in the camera's units within gain_range (ValueError outside it); the colour "
        "gains stay.");
    cameraProperty<double>(
        cls, "red_gain", [](nm::Camera& c) { return gainValue(c.getRedGain()); },
        [](nm::Camera& c, double gain) { setGainsChecked(c, {}, gain, {}, {}); },
        "Red gain within color_gain_range; the others stay.");
    cameraProperty<double>(
        cls, "green_gain", [](nm::Camera& c) { return gainValue(c.getGreenGain()); },
        [](nm::Camera& c, double gain) { setGainsChecked(c, {}, {}, gain, {}); },
        "Green gain within color_gain_range; the others stay.");
    cameraProperty<double>(
        cls, "blue_gain", [](nm::Camera& c) { return gainValue(c.getBlueGain()); },
        [](nm::Camera& c, double gain) { setGainsChecked(c, {}, {}, {}, gain); },
        "Blue gain within color_gain_range; the others stay.");
    cameraProperty<double>(
        cls, "brightness", [](nm::Camera& c) { return c.getBrightness(); }, &setBrightnessChecked,
        "Brightness, a whole number in the camera's units within brightness_range (ValueError outside it).");
    cls.def(
        "set_gains",
        [](Camera& s, std::optional<double> master, std::optional<double> red, std::optional<double> green,
           std::optional<double> blue) { setGainsChecked(s.camera(), master, red, green, blue); },
        py::arg("master") = py::none(), py::arg("red") = py::none(), py::arg("green") = py::none(),
        py::arg("blue") = py::none(),
        "Sets several gains in one camera call; None leaves that gain as it is. Each is checked against its range "
        "first (ValueError, nothing changed).");
    bindRanges(cls);
    cameraProperty<bool>(
        cls, "auto_gain", [](nm::Camera& c) { return c.isGainAuto(); },
        [](nm::Camera& c, bool on) { c.setAutoGain(on); }, "Whether the camera adjusts its gain by itself.");

    cameraReading(
        cls, "name", [](const nm::Camera& c) { return c.getName().str(); },
        "The sensor's name, for example \"SIM1280-C\": the camera model in the configuration.");
    cameraReading(
        cls, "is_color", [](const nm::Camera& c) { return c.isColor(); },
        "False for a monochrome sensor (its pictures are grey, R = G = B).");
    cameraReading(
        cls, "max_width", [](const nm::Camera& c) { return c.getMaxWidth(); }, "The sensor's width in pixels.");
    cameraReading(
        cls, "max_height", [](const nm::Camera& c) { return c.getMaxHeight(); }, "The sensor's height in pixels.");
    cameraReading(
        cls, "width", [](const nm::Camera& c) { return c.getWidth(); }, "Width of the area of interest.");
    cameraReading(
        cls, "height", [](const nm::Camera& c) { return c.getHeight(); }, "Height of the area of interest.");
    cameraReading(
        cls, "pos_x", [](const nm::Camera& c) { return c.getPosX(); },
        "Horizontal offset of the area of interest on the sensor.");
    cameraReading(
        cls, "pos_y", [](const nm::Camera& c) { return c.getPosY(); },
        "Vertical offset of the area of interest on the sensor.");
    cls.def_property_readonly("is_open", &Camera::isOpen, "False once the camera is closed.");
    cls.def_property_readonly(
        "is_recording", [](Camera& s) { return s.isOpen() && s.recorder().isOpen(); },
        "Whether a recording is open (running or paused).");

    cls.def(
        "set_aoi", [](Camera& s, double width, double height) { setAoiChecked(s.camera(), width, height); },
        py::arg("width"), py::arg("height"),
        "Sets the area of interest: the size rounded down to the camera's steps, centred on the sensor; exposure "
        "and frame rate are kept. Width and height must lie within width_range and height_range (ValueError "
        "otherwise). Read width and height back for what was set.");
    cameraAction<&nm::Camera::setDefaultAOI>(cls, "set_default_aoi", "The whole sensor as the area of interest.");
    cameraAction<&nm::Camera::setDefaultGain>(cls, "set_default_gain", "The factory gains of this camera model.");
    cameraAction<&nm::Camera::setDefaultExposure>(cls, "set_default_exposure", "The factory exposure.");
    cameraAction<&nm::Camera::setDefaultFrameRate>(cls, "set_default_frame_rate",
                                                   "The camera's own default frame rate.");
    cameraAction<&nm::Camera::setDefaultBrightness>(cls, "set_default_brightness", "The factory brightness.");
    cameraAction<&nm::Camera::doWhiteBalance>(cls, "do_white_balance",
                                              "Starts the camera's automatic white balance and returns at once.");
    cameraAction<&nm::Camera::stopWhiteBalance>(cls, "stop_white_balance",
                                                "Stops it; the colour gains keep the values it reached.");
    cls.def(
        "save_user_settings",
        [](Camera& s) {
            nm::Camera& camera = s.camera();
            requireSettingsWritable("save the user preset");
            camera.saveUserSettings();
        },
        "Stores the camera's current values as this model's preset, applied at each open. CameraError naming the "
        "other process while the settings file is read-only.");
    cls.def_property_readonly(
        "read_only", [](const Camera&) { return settingsReadOnly(); },
        "Whether another process (a tool, or another Python) holds the settings file: its saves then raise "
        "CameraError naming it.");
    cls.def("reset_user_settings", &Camera::resetUserSettings,
            "Deletes this model's preset and reopens the camera with the factory values (a recording is stopped "
            "first).");

    cls.def(
        "picture", [](Camera& s) { return picture(s.camera()); },
        "The live picture of the area of interest: a new numpy uint8 array of shape (height, width, 3), RGB.");

    cls.def(
        "record",
        [](Camera& s, const py::object& path, double seconds, std::optional<double> fps,
           std::optional<double> maxSizeMb, std::optional<long> replayFps, const py::object& progress) {
            s.recorder().record(request(path, seconds, fps, maxSizeMb, replayFps), progress);
        },
        py::arg("path"), py::arg("seconds"), py::arg("fps") = py::none(), py::arg("max_size_mb") = py::none(),
        py::arg("replay_fps") = py::none(), py::arg("progress") = py::none(),
        R"(Records a Motion-JPEG AVI file and returns when the recording has ended by itself.

path: the file (an existing one is replaced); seconds: its length, above 0 (frames are counted at 1 / fps each);
fps: frames taken per second, None for the camera's frame rate; max_size_mb: ends the recording earlier at that
size, None for no limit; replay_fps: the rate written into the file for playback, None for fps;
progress(recorded_seconds, seconds): called about ten times a second while it records.
The event loop runs meanwhile. Ctrl-C stops the recording, the file finished, and raises KeyboardInterrupt; a
frame that cannot be written stops it and raises CameraError.)");
    cls.def(
        "start_recording",
        [](Camera& s, const py::object& path, double seconds, std::optional<double> fps,
           std::optional<double> maxSizeMb, std::optional<long> replayFps, py::object onEnd) {
            s.recorder().start(request(path, seconds, fps, maxSizeMb, replayFps), std::move(onEnd));
        },
        py::arg("path"), py::arg("seconds"), py::arg("fps") = py::none(), py::arg("max_size_mb") = py::none(),
        py::arg("replay_fps") = py::none(), py::arg("on_end") = py::none(),
        R"(Starts a recording and returns at once; the event loop (run_events(), or a wxPython application's main
loop) takes its frames.

The arguments are those of record(), but seconds 0 or less means no length limit. on_end(error) is called on the
main thread when the recording ends by itself: error is None at its length or size limit, the CameraError when a
frame could not be written (the file is then finished with the frames before). stop_recording() ends it without
on_end. While a recording is paused, start_recording() resumes it: path and replay_fps are then ignored, and the
time already recorded counts against seconds.)");
    cls.def(
        "pause_recording", [](Camera& s) { s.recorder().pause(); },
        "Holds the recording: no frames are taken, the file stays open; start_recording() resumes it.");
    cls.def(
        "stop_recording", [](Camera& s) { s.recorder().stop(); },
        "Ends the recording and closes its file, complete and playable. Nothing when none is open.");
    cls.def(
        "optimize_clock", [](Camera& s, py::object onEnd) { s.optimizer().start(std::move(onEnd)); },
        py::arg("on_end") = py::none(),
        R"(Lets the camera find its fastest pixel clock and frame rate (up to about 5 s) and applies them.

Without on_end it waits, the event loop running, until that is done. With on_end it returns at once, and on_end()
is called on the main thread when the work is over, from the event loop.)");

    bindFrames(module, cls);

    cls.def("close", &Camera::close,
            "Closes the camera: stops a recording (the file finished), waits for an optimisation to end. Callbacks "
            "not yet delivered are cancelled: an optimize_clock() on_end does not run once close() began, nor "
            "does a recording's on_end. Closing twice does nothing.");
    cls.def(
        "__enter__", [](Camera& s) -> Camera& { return s; }, py::return_value_policy::reference);
    cls.def("__exit__", [](Camera& s, const py::args&) {
        s.close();
        return false;
    });
    cls.def("__repr__", &describe);

    bindCameraList(module);
    module.def(
        "open",
        [](const std::optional<py::object>& appDir, const std::optional<std::variant<std::string, int>>& camera) {
            std::optional<std::string> folder;
            if (appDir) folder = absolutePath(*appDir);
            std::optional<std::string> choice;
            if (camera) {
                const auto* id = std::get_if<int>(&*camera);
                choice = id ? std::to_string(*id) : std::get<std::string>(*camera);
            }
            return Camera::open(folder, choice);
        },
        py::arg("app_dir") = py::none(), py::arg("camera") = py::none(),
        R"(Loads the settings and opens the camera; returns a Camera, to close (or use in a with block).

app_dir: the folder whose res/config.xml holds the settings; None for the per-user settings folder
($XDG_CONFIG_HOME/nimbrel-model, else ~/.config/nimbrel-model), created from the shipped file on first use.
camera: a camera id from cameras() (an int, or its digits), or a simulated camera to open ("SIM1280-C",
"SIM1280-M", "SIM2592-C", "SIM4912-M", "SIM1284-C", "SIM1284-M") in a simulator build; None for the first
camera (in the simulator the first that UESIM_CAMERAS or UESIM_CAMERA names, whatever an earlier open chose). One
camera is open at a time: a second open() raises CameraError.)");
    module.def(
        "run_events",
        [](double seconds) {
            startWx();
            pumpUntil([] { return false; }, seconds);
        },
        py::arg("seconds"),
        "Runs the event loop for that many seconds: recordings take their frames and callbacks run. Not needed "
        "inside a wxPython application, whose main loop does it.");
}

}  // namespace nimbrel_python
