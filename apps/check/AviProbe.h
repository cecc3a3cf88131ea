// What a finished AVI file holds, read back through libavformat.
#pragma once

#include <string>

namespace check {

struct AviFacts {
    long frames = 0;  // video packets read
    int width = 0;
    int height = 0;
    double frameRate = 0.0;  // the replay rate the file declares
};

// CheckFailure when the file cannot be read as a video.
AviFacts probeAvi(const std::string& path);

}  // namespace check
