// What ffprobe and the file's own headers say about the demo's output.
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace demotest {

// ffprobe's codec_name, width, height, r_frame_rate and nb_read_packets
// (frames it could read) of the first video stream.
std::map<std::string, std::string> probeVideo(const std::string& path);
// ffprobe's codec_name, width and height of a picture.
std::map<std::string, std::string> probePicture(const std::string& path);
// dwTotalFrames of the AVI main header ("avih"); -1 without one.
long long aviHeaderFrames(const std::string& path);

}  // namespace demotest
