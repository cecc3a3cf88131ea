// Which thread the camera belongs to, and how the element's calls get there.
//
// The module's Camera is a wx event handler with a timer: wx must be running
// before it is created, and it is driven from wx's main thread (the one that
// initialised wx), like every host does. GStreamer calls the element from
// several threads: the application's (state changes, properties), the
// streaming thread (caps, buffers) and, for some elements' queries, others.
// So every camera call is handed to wx's main thread and waited for:
//
// - inside an application that already runs wx (a wxPython program), that
//   application's main thread: its own event loop runs the call;
// - otherwise (gst-launch-1.0, a Python script, OpenCV) a thread of our own,
//   started on first use and kept for the life of the process, starts the
//   host's console application (host::ApplicationScope) and runs the host's
//   event pump until the process exits; then it ends wx there.
//
// A call made on wx's main thread itself runs at once. The frame stream's
// next() is the exception: any thread may wait on it, so the streaming thread
// calls it directly and never blocks wx's thread on a frame.
#pragma once

#include <functional>

namespace nimbrel_gst {

// Runs `call` on the camera's thread and returns when it has run, passing on
// what it threw. While it waits, `abandon` is asked every few milliseconds:
// once it holds, the call is withdrawn (or, when already running, left to
// finish alone) and runOnCameraThread returns false without its result. That
// is how a streaming thread waiting on a busy application thread still lets
// the pipeline stop.
bool runOnCameraThread(const std::function<void()>& call, const std::function<bool()>& abandon = {});

}  // namespace nimbrel_gst
