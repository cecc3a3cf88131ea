#include "AviProbe.h"

#include "TestSupport.h"

#include <sstream>

namespace camtest {

AviInfo probeAvi(const std::string& path) {
    int status = 0;
    const std::string output = testsupport::runCommand(
        "ffprobe -v error -select_streams v:0 -count_packets -show_entries "
        "stream=codec_name,codec_tag_string,width,height,r_frame_rate,nb_frames,nb_read_packets -of default=nw=1 '" +
            path + "' 2>&1",
        &status);
    AviInfo info;
    info.ok = status == 0;
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        const auto eq = line.find('=');
        if (eq == std::string::npos) continue;
        const std::string key = line.substr(0, eq), value = line.substr(eq + 1);
        if (key == "codec_name") info.codec = value;
        if (key == "codec_tag_string") info.tag = value;
        const bool number = !value.empty() && value.find_first_not_of("0123456789") == std::string::npos;
        if (key == "width" && number) info.width = std::stoi(value);
        if (key == "height" && number) info.height = std::stoi(value);
        if (key == "r_frame_rate") info.rate = value;
        if (key == "nb_read_packets") info.frames = number ? std::stol(value) : 0;
        if (key == "nb_frames") info.indexFrames = value;
    }
    return info;
}

std::vector<unsigned char> decodeFrameBgr(const std::string& path, int index) {
    testsupport::TempDir dir;
    const std::string out = dir.file("frame.bgr");
    int status = 0;
    testsupport::runCommand("ffmpeg -v error -i '" + path + "' -vf 'select=eq(n\\," + std::to_string(index) +
                                ")' -fps_mode passthrough -frames:v 1 -f rawvideo -pix_fmt bgr24 '" + out + "' 2>&1",
                            &status);
    if (status != 0 || !testsupport::fileExists(out)) return {};
    const std::string bytes = testsupport::readFile(out);
    return std::vector<unsigned char>(bytes.begin(), bytes.end());
}

}  // namespace camtest
