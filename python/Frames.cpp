#include "Frames.h"

#include "Camera.h"
#include "Errors.h"

#include <Nimbrel_model/FrameStream.h>
#include <pybind11/numpy.h>
#include <pybind11/stl.h>
#include <wx/thread.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <optional>
#include <sstream>

namespace nimbrel_python {

namespace {

namespace nm = Nimbrel_model;
using std::chrono::milliseconds;

// Short enough for a prompt Ctrl-C while a frame is awaited.
constexpr milliseconds waitSlice(50);

nm::FrameStream& stream() { return *nm::FrameStream::getInstance(); }

double seconds(std::chrono::steady_clock::time_point time) {
    return std::chrono::duration<double>(time.time_since_epoch()).count();
}

// The frame's own pixels as a read-only numpy array that keeps the frame alive.
py::array frameArray(const nm::Frame& frame) {
    auto* owner = new nm::Frame(frame);
    const py::capsule keep(owner, [](void* held) { delete static_cast<nm::Frame*>(held); });
    const auto stride = static_cast<py::ssize_t>(frame.stride());
    const std::uint8_t* pixels = frame.data();
    py::array array =
        frame.isColor()
            ? py::array_t<std::uint8_t>({frame.height(), frame.width(), 3}, {stride, py::ssize_t{3}, py::ssize_t{1}},
                                        pixels, keep)
            : py::array_t<std::uint8_t>({frame.height(), frame.width()}, {stride, py::ssize_t{1}}, pixels, keep);
    array.attr("setflags")(py::arg("write") = false);
    return array;
}

std::string describe(const nm::Frame& frame) {
    std::ostringstream text;
    text << "<nimbrel_model.Frame " << frame.sequence() << ", " << frame.width() << " x " << frame.height()
         << (frame.isColor() ? " RGB" : " grey") << ">";
    return text.str();
}

milliseconds checkedTimeout(double timeout) {
    if (!(timeout >= 0) || !std::isfinite(timeout))
        throw py::value_error("timeout must be a finite number of seconds, 0 or more, not " + std::to_string(timeout));
    return std::chrono::duration_cast<milliseconds>(std::chrono::duration<double>(std::min(timeout, 1e9)));
}

// Waits for the next frame, the GIL released, in slices so that a signal
// (Ctrl-C) raises promptly. Raises CameraError when none comes in time.
nm::Frame awaitFrame(milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const auto left = std::chrono::duration_cast<milliseconds>(deadline - std::chrono::steady_clock::now());
        std::optional<nm::Frame> frame;
        {
            py::gil_scoped_release released;
            frame = stream().next(std::clamp(left, milliseconds(0), waitSlice));
        }
        if (frame) return *std::move(frame);
        if (PyErr_CheckSignals() != 0) throw py::error_already_set();
        if (!stream().isRunning()) raiseCameraError("the frame stream stopped (the camera was closed)");
        if (std::chrono::steady_clock::now() >= deadline) {
            std::ostringstream text;
            text << "no frame came within " << timeout.count() / 1000.0 << " s";
            raiseCameraError(text.str());
        }
    }
}

// What frames() returns: yields `count` frames (or without end), each awaited
// up to `timeout`. A stream it started is stopped when the count is reached or
// a frame fails to come, on the main thread; close() stops it otherwise.
class FrameIterator {
public:
    FrameIterator(Camera& camera, std::optional<long long> count, milliseconds timeout)
        : camera_(camera), left_(count), timeout_(timeout) {
        if (!stream().isRunning()) {
            stream().start();
            startedStream_ = true;
        }
    }

    nm::Frame next() {
        if (left_ && *left_ <= 0) {
            close();
            throw py::stop_iteration();
        }
        try {
            nm::Frame frame = awaitFrame(timeout_);
            if (left_) --*left_;
            return frame;
        } catch (...) {
            close();
            throw;
        }
    }

    // Stops the stream if this iterator started it.
    void close() {
        if (!startedStream_ || !camera_.isOpen() || !wxIsMainThread()) return;
        startedStream_ = false;
        stream().stop();
    }

private:
    Camera& camera_;
    std::optional<long long> left_;
    milliseconds timeout_;
    bool startedStream_ = false;
};

}  // namespace

void bindFrames(py::module_& module, py::class_<Camera>& camera) {
    py::class_<nm::Frame>(module, "Frame", R"(One whole frame of the area of interest, as the camera made it.

array is a read-only numpy view of the frame's own memory (no copy), kept valid by the array itself: shape
(height, width, 3) RGB for a colour camera, (height, width) grey for a monochrome one. The memory is never written
again while a Frame or its array lives.)")
        .def_property_readonly("array", &frameArray, "The pixels: a read-only numpy uint8 array, no copy.")
        .def_property_readonly("sequence", &nm::Frame::sequence,
                               "The camera's frame number: it rises by one for every frame the camera made, so a "
                               "gap is frames that were dropped.")
        .def_property_readonly(
            "device_time", [](const nm::Frame& f) { return static_cast<double>(f.deviceTime()) * 1e-9; },
            "The camera's timestamp of the frame, in seconds (the camera's own clock).")
        .def_property_readonly(
            "host_time", [](const nm::Frame& f) { return seconds(f.hostTime()); },
            "When the module had the frame, in seconds on the clock of time.monotonic().")
        .def_property_readonly("width", &nm::Frame::width, "Width in pixels.")
        .def_property_readonly("height", &nm::Frame::height, "Height in pixels.")
        .def_property_readonly("is_color", &nm::Frame::isColor, "RGB (True) or grey (False).")
        .def("__repr__", &describe);

    py::class_<FrameIterator>(module, "FrameIterator", "Frames one after the other: see Camera.frames().")
        .def(
            "__iter__", [](FrameIterator& it) -> FrameIterator& { return it; }, py::return_value_policy::reference)
        .def("__next__", &FrameIterator::next);

    camera.def(
        "frames",
        [](Camera& s, std::optional<long long> count, double timeout) {
            if (count && *count < 0) throw py::value_error("count must be 0 or more, or None for no end");
            const milliseconds wait = checkedTimeout(timeout);
            s.camera();  // open, and on the main thread
            return FrameIterator(s, count, wait);
        },
        py::arg("count") = py::none(), py::arg("timeout") = 1.0, py::keep_alive<0, 1>(),
        R"(Iterates over the camera's frames, each whole, numbered and timed (see Frame), oldest first.

count: how many frames, None for no end; timeout: seconds to wait for each frame before CameraError. Call it on the
main thread; the iteration itself may run on any thread, and waits with the interpreter lock released. Frames the
consumer was too slow for are dropped (see frames_dropped) and show as gaps in Frame.sequence. Ctrl-C ends the
loop with KeyboardInterrupt.)");
    camera.def(
        "grab",
        [](Camera& s, double timeout) {
            const milliseconds wait = checkedTimeout(timeout);
            FrameIterator frames(s, 1, wait);
            nm::Frame frame = frames.next();
            frames.close();
            return frame;
        },
        py::arg("timeout") = 1.0,
        "The next whole frame the camera makes (see Frame), waiting up to timeout seconds; CameraError when none "
        "comes.");
    camera.def_property_readonly(
        "frames_dropped",
        [](Camera& s) {
            s.camera();
            return stream().dropped();
        },
        "Frames the camera made since the frame stream started that no consumer got.");
}

}  // namespace nimbrel_python
