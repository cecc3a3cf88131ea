// The playback rate of a finished AVI file. The module writes a whole replay
// rate, so a file recorded at 12.5 frames per second and played at its own
// rate would play at 13 (4 s in 3.85 s). A host that replays at the
// recording rate writes that rate back as a fraction.
#pragma once

#include <string>

namespace host {

// Sets the frame rate that the headers of the finished AVI file at `path`
// declare (the main header's frame time, the video stream's scale and rate)
// to `fps`, kept to a thousandth as a reduced fraction. False when the file
// has no such headers or cannot be written.
bool setPlaybackRate(const std::string& path, double fps);

// Whether a file replayed at `fps` needs setPlaybackRate: `fps` is no whole
// number, so the module wrote it rounded.
bool playbackRateRounded(double fps);

}  // namespace host
