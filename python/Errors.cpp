#include "Errors.h"

#include "WriteProbe.h"

#include <Qel/Qel.h>

#include <cerrno>
#include <cstdlib>
#include <stdexcept>

namespace nimbrel_python {

namespace {

// Owned for the life of the process: the module and every error refer to them.
PyObject* cameraErrorType = nullptr;
PyObject* closedErrorType = nullptr;

const char* const cameraErrorDoc =
    "A camera or settings operation failed.\n\n"
    "str(error) is the module's own text. message_id is 63 (a camera call failed: function names it and status\n"
    "holds the status it returned), 64 (a required configuration value is missing or unreadable), or None (the\n"
    "settings file could not be read or written, or the binding refused the call).\n"
    "errno is the system's error number (as in OSError) when a recording's file could not be written: str(error)\n"
    "then names the file and the reason, and function and status the camera call that failed; otherwise None.";
const char* const closedErrorDoc =
    "The camera was used after close() or after its with block: nimbrel_model.open() gives a new one.";

std::string messageText(int id) { return Qel::Strings::StringTable::get().getString("Nimbrel", id).str(); }

std::optional<long long> wholeNumber(const std::string& text) {
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || end != text.c_str() + text.size()) return std::nullopt;
    return value;
}

PyObject* newType(const char* name, const char* doc, PyObject* base) {
    py::dict attributes;
    attributes["message_id"] = py::none();
    attributes["function"] = py::none();
    attributes["status"] = py::none();
    attributes["errno"] = py::none();
    PyObject* type = PyErr_NewExceptionWithDoc(name, doc, base, attributes.ptr());
    if (!type) throw py::error_already_set();
    return type;
}

py::object makeError(PyObject* type, const std::string& message, const MessageParts& parts) {
    py::object error = py::reinterpret_borrow<py::object>(type)(message);
    if (parts.id) error.attr("message_id") = *parts.id;
    if (parts.function) error.attr("function") = *parts.function;
    if (parts.status) error.attr("status") = *parts.status;
    return error;
}

py::object fromQel(const Qel::Exception& error) {
    const std::string text = error.getMessage().str();
    return makeError(cameraErrorType, text, parseMessage(text));
}

py::object fromWriteFailure(const host::WriteFailure& failure) {
    py::object error = makeError(cameraErrorType, failure.what(), parseMessage(failure.detail()));
    error.attr("errno") = failure.error();
    return error;
}

}  // namespace

MessageParts parseMessage(const std::string& text) {
    MessageParts parts;
    if (text == messageText(64)) {
        parts.id = 64;
        return parts;
    }
    // Message 63 is its template with the function in place of "%s" and the
    // status appended.
    const std::string failed = messageText(63);
    const std::size_t slot = failed.find("%s");
    if (slot == std::string::npos) return parts;
    const std::string before = failed.substr(0, slot), after = failed.substr(slot + 2);
    if (text.size() <= before.size() + after.size() || text.compare(0, before.size(), before) != 0) return parts;
    const std::size_t middle = text.rfind(after);
    if (after.empty() || middle == std::string::npos || middle <= before.size()) return parts;
    const auto status = wholeNumber(text.substr(middle + after.size()));
    if (!status) return parts;
    parts.id = 63;
    parts.function = text.substr(before.size(), middle - before.size());
    parts.status = status;
    return parts;
}

void registerErrors(py::module_& module) {
    cameraErrorType = newType("nimbrel_model.CameraError", cameraErrorDoc, PyExc_Exception);
    closedErrorType = newType("nimbrel_model.CameraClosedError", closedErrorDoc, cameraErrorType);
    module.add_object("CameraError", py::handle(cameraErrorType));
    module.add_object("CameraClosedError", py::handle(closedErrorType));
    py::register_exception_translator([](std::exception_ptr error) {
        try {
            if (error) std::rethrow_exception(error);
        } catch (const Qel::Exception& qel) {
            py::object object = fromQel(qel);
            PyErr_SetObject(cameraErrorType, object.ptr());
        } catch (const host::WriteFailure& failure) {
            py::object object = fromWriteFailure(failure);
            PyErr_SetObject(cameraErrorType, object.ptr());
        } catch (const CameraFailure& own) {
            py::object object = makeError(cameraErrorType, own.what(), {});
            PyErr_SetObject(cameraErrorType, object.ptr());
        }
    });
}

void raiseObject(const py::object& error) {
    PyErr_SetObject(reinterpret_cast<PyObject*>(Py_TYPE(error.ptr())), error.ptr());
    throw py::error_already_set();
}

void raiseCameraError(const std::string& message) { raiseObject(makeError(cameraErrorType, message, {})); }

void raiseWithHint(const std::string& message, const std::string& hint) {
    raiseObject(makeError(cameraErrorType, message + "; " + hint, parseMessage(message)));
}

void raiseClosed() {
    raiseObject(makeError(closedErrorType, "the camera is closed: nimbrel_model.open() gives a new one", {}));
}

py::object errorObject(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const Qel::Exception& qel) {
        return fromQel(qel);
    } catch (const host::WriteFailure& failure) {
        return fromWriteFailure(failure);
    } catch (py::error_already_set& python) {
        return python.value();
    } catch (const CameraFailure& own) {
        return makeError(cameraErrorType, own.what(), {});
    } catch (const std::exception& other) {
        return py::reinterpret_borrow<py::object>(PyExc_RuntimeError)(other.what());
    } catch (...) {
        return py::reinterpret_borrow<py::object>(PyExc_RuntimeError)("unknown failure");
    }
}

}  // namespace nimbrel_python
