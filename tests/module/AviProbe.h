// What ffprobe and ffmpeg read from a recorded file.
#pragma once

#include <string>
#include <vector>

namespace camtest {

struct AviInfo {
    bool ok = false;  // ffprobe read the file
    std::string codec;
    std::string tag;
    int width = 0;
    int height = 0;
    std::string rate;  // "25/1"
    long frames = -1;  // packets counted by reading the file
    std::string indexFrames;  // frame count from the index ("N/A" without one)
};

AviInfo probeAvi(const std::string& path);

// Frame `index` decoded to B, G, R bytes (width x height x 3); empty on failure.
std::vector<unsigned char> decodeFrameBgr(const std::string& path, int index);

}  // namespace camtest
