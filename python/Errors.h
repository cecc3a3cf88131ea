// The binding's exceptions: every Qel::Exception reaches Python as
// nimbrel_model.CameraError, with the message id, the failed SDK function and
// its status read back from the module's text.
#pragma once

#include <pybind11/pybind11.h>

#include <exception>
#include <optional>
#include <stdexcept>
#include <string>

namespace nimbrel_python {

namespace py = pybind11;

// What a message of the module tells beyond its text.
struct MessageParts {
    std::optional<int> id;                // 63 or 64; none for other messages
    std::optional<std::string> function;  // message 63: the SDK function
    std::optional<long long> status;      // message 63: the status it returned
};

// Reads a message against the message table's own texts of 63 and 64.
MessageParts parseMessage(const std::string& text);

// Adds CameraError and CameraClosedError to the module and translates
// Qel::Exception into CameraError wherever a call raises one.
void registerErrors(py::module_& module);

// A failure of the binding's own that reaches Python as a CameraError without
// a message id, also through errorObject().
struct CameraFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A CameraError without a message id: the binding's own refusals.
[[noreturn]] void raiseCameraError(const std::string& message);
// The module's failure as CameraError with its parts, `hint` added to its text.
[[noreturn]] void raiseWithHint(const std::string& message, const std::string& hint);
// The camera was used after close().
[[noreturn]] void raiseClosed();

// The exception in flight as a Python exception object (CameraError for a
// Qel::Exception), for handing to a callback. Needs the GIL.
py::object errorObject(const std::exception_ptr& error);
// Raises a Python exception object built by errorObject().
[[noreturn]] void raiseObject(const py::object& error);

}  // namespace nimbrel_python
