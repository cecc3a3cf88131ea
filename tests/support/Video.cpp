#include "Video.h"

#include "Files.h"
#include "Process.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>

namespace testsupport {

std::string VideoInfo::summary() const {
    std::ostringstream out;
    out << codec << "/" << tag << " " << width << "x" << height << " " << rate << " " << frames << "/" << indexFrames;
    return out.str();
}

VideoInfo probeVideo(const std::string& path) {
    int status = 0;
    const std::string output = runCommand(
        "ffprobe -v error -select_streams v:0 -count_packets -show_entries "
        "stream=codec_name,codec_tag_string,width,height,r_frame_rate,nb_frames,nb_read_packets -of default=nw=1 " +
            quoted(path) + " 2>/dev/null",
        &status);
    VideoInfo info;
    info.ok = status == 0;
    for (const std::string& line : lines(output)) {
        const auto eq = line.find('=');
        if (eq == std::string::npos) continue;
        const std::string key = line.substr(0, eq), value = line.substr(eq + 1);
        const bool number = !value.empty() && value.find_first_not_of("0123456789") == std::string::npos;
        if (key == "codec_name") info.codec = value;
        if (key == "codec_tag_string") info.tag = value;
        if (key == "width" && number) info.width = std::stoi(value);
        if (key == "height" && number) info.height = std::stoi(value);
        if (key == "r_frame_rate") info.rate = value;
        if (key == "nb_read_packets") info.frames = number ? std::stol(value) : 0;
        if (key == "nb_frames") info.indexFrames = value;
    }
    return info;
}

long long aviHeaderFrames(const std::string& path) {
    const std::string data = readFile(path);
    // avih chunk: id, size, then dwTotalFrames after four 32-bit fields.
    const auto at = data.find("avih");
    if (at == std::string::npos || at + 8 + 20 > data.size()) return -1;
    auto byte = [&](std::size_t i) { return static_cast<unsigned long long>(static_cast<unsigned char>(data[i])); };
    const std::size_t field = at + 8 + 16;
    return static_cast<long long>(byte(field) | byte(field + 1) << 8 | byte(field + 2) << 16 | byte(field + 3) << 24);
}

bool near(Bgr a, Bgr b, int tolerance) {
    return std::abs(a.b - b.b) < tolerance && std::abs(a.g - b.g) < tolerance && std::abs(a.r - b.r) < tolerance;
}

std::ostream& operator<<(std::ostream& out, Bgr color) {
    return out << "(b " << int(color.b) << ", g " << int(color.g) << ", r " << int(color.r) << ")";
}

BgrImage::BgrImage(int width, int height, Bgr fill)
    : width_(width), height_(height), bytes_(static_cast<std::size_t>(width) * height * 3) {
    fillRect(0, 0, width, height, fill);
}

void BgrImage::fillRect(int x, int y, int width, int height, Bgr color) {
    for (int row = y; row < y + height; ++row) {
        for (int col = x; col < x + width; ++col) {
            const std::size_t i = (static_cast<std::size_t>(row) * width_ + col) * 3;
            bytes_[i] = color.b;
            bytes_[i + 1] = color.g;
            bytes_[i + 2] = color.r;
        }
    }
}

Bgr BgrImage::at(int x, int y) const {
    const std::size_t i = (static_cast<std::size_t>(y) * width_ + x) * 3;
    return {bytes_[i], bytes_[i + 1], bytes_[i + 2]};
}

std::optional<BgrImage> decodeFrame(const std::string& path, int index, int width, int height) {
    TempDir dir;
    const std::string raw = dir.file("frame.bgr");
    int status = 0;
    runCommand("ffmpeg -v error -i " + quoted(path) + " -vf 'select=eq(n\\," + std::to_string(index) +
                   ")' -fps_mode passthrough -frames:v 1 -f rawvideo -pix_fmt bgr24 " + quoted(raw) + " 2>&1",
               &status);
    const long long expected = 3LL * width * height;
    if (status != 0 || fileSize(raw) != expected) return std::nullopt;
    const std::string bytes = readFile(raw);
    BgrImage image(width, height);
    std::copy(bytes.begin(), bytes.end(), image.data());
    return image;
}

}  // namespace testsupport
