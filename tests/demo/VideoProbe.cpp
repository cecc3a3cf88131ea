#include "VideoProbe.h"

#include "TestSupport.h"

#include <sstream>

namespace demotest {

namespace {

std::map<std::string, std::string> keyValues(const std::string& text) {
    std::map<std::string, std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        auto equals = line.find('=');
        if (equals != std::string::npos) result[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return result;
}

}  // namespace

std::map<std::string, std::string> probeVideo(const std::string& path) {
    return keyValues(testsupport::runCommand(
        "ffprobe -v error -select_streams v:0 -count_packets -show_entries "
        "stream=codec_name,width,height,r_frame_rate,nb_read_packets -of default=nw=1 '" +
        path + "'"));
}

std::map<std::string, std::string> probePicture(const std::string& path) {
    return keyValues(testsupport::runCommand(
        "ffprobe -v error -select_streams v:0 -show_entries stream=codec_name,width,height -of default=nw=1 '" + path +
        "'"));
}

long long aviHeaderFrames(const std::string& path) {
    const std::string data = testsupport::readFile(path);
    // avih chunk: id, size, then dwTotalFrames after four 32-bit fields.
    auto at = data.find("avih");
    if (at == std::string::npos || at + 8 + 20 > data.size()) return -1;
    auto byte = [&](std::size_t i) { return static_cast<unsigned long long>(static_cast<unsigned char>(data[i])); };
    std::size_t field = at + 8 + 16;
    return static_cast<long long>(byte(field) | byte(field + 1) << 8 | byte(field + 2) << 16 | byte(field + 3) << 24);
}

}  // namespace demotest
