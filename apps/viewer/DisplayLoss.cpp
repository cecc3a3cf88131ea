#include "DisplayLoss.h"

#include "ExitStatus.h"

#include <X11/Xlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

namespace viewer {

namespace {

std::function<std::string()>& stopOnLoss() {
    static std::function<std::string()> stop;
    return stop;
}

// Xlib ends the process when this returns: it never does.
int displayLost(Display* display) {
    const int error = errno;
    std::string said;
    try {
        if (stopOnLoss()) said = stopOnLoss()();
    } catch (...) {
        said = "the recording could not be stopped";
    }
    const char* name = display ? DisplayString(display) : "";
    std::fprintf(stderr, "nimbrel-viewer: lost the connection to the display %s (%s)%s%s\n", name,
                 error == EPIPE ? "the X server went away" : std::strerror(error), said.empty() ? "" : "; ",
                 said.c_str());
    std::fflush(nullptr);
    _exit(host::exitStatus::kFailed);
}

}  // namespace

void whenDisplayLost(std::function<std::string()> stop) {
    stopOnLoss() = std::move(stop);
    XSetIOErrorHandler(displayLost);
}

}  // namespace viewer
