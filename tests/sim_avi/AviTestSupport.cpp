#include "AviTestSupport.h"

#include "ueye.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>

namespace avitest {

namespace {

std::string quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) {
        if (c == '\'') out += "'\\''";
        else out += c;
    }
    return out + "'";
}

struct PipeCloser {
    void operator()(FILE* pipe) const { pclose(pipe); }
};

}  // namespace

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "avitest.XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

BgrImage::BgrImage(int width, int height, Bgr fill)
    : width_(width), height_(height), bytes_(static_cast<std::size_t>(width) * height * 3) {
    fillRect(0, 0, width, height, fill);
}

void BgrImage::fillRect(int x, int y, int width, int height, Bgr colour) {
    for (int row = y; row < y + height; ++row) {
        for (int col = x; col < x + width; ++col) {
            const std::size_t i = (static_cast<std::size_t>(row) * width_ + col) * 3;
            bytes_[i] = colour.b;
            bytes_[i + 1] = colour.g;
            bytes_[i + 2] = colour.r;
        }
    }
}

Bgr BgrImage::at(int x, int y) const {
    const std::size_t i = (static_cast<std::size_t>(y) * width_ + x) * 3;
    return {bytes_[i], bytes_[i + 1], bytes_[i + 2]};
}

bool near(Bgr a, Bgr b, int tolerance) {
    return std::abs(a.b - b.b) < tolerance && std::abs(a.g - b.g) < tolerance &&
           std::abs(a.r - b.r) < tolerance;
}

std::string describe(Bgr colour) {
    std::ostringstream out;
    out << "(b " << int(colour.b) << ", g " << int(colour.g) << ", r " << int(colour.r) << ")";
    return out.str();
}

int recordFile(const std::string& path, BgrImage& image, int frames, double fps, int quality) {
    INT id = 0;
    int status = isavi_InitAVI(&id, 1);
    auto step = [&status](int result) {
        if (status == 0) status = result;
    };
    step(isavi_SetImageSize(id, IS_AVI_CM_RGB24, image.width(), image.height(), 0, 0, 0));
    step(isavi_SetImageQuality(id, quality));
    step(isavi_OpenAVI(id, path.c_str()));
    step(isavi_SetFrameRate(id, fps));
    step(isavi_StartAVI(id));
    for (int i = 0; i < frames && status == 0; ++i) step(isavi_AddFrame(id, image.data()));
    step(isavi_StopAVI(id));
    step(isavi_CloseAVI(id));
    step(isavi_ExitAVI(id));
    return status;
}

std::string run(const std::string& command, int* status) {
    std::unique_ptr<FILE, PipeCloser> pipe(popen(command.c_str(), "r"));
    if (!pipe) throw std::runtime_error("popen failed: " + command);
    std::string out;
    std::array<char, 4096> chunk{};
    std::size_t n = 0;
    while ((n = std::fread(chunk.data(), 1, chunk.size(), pipe.get())) > 0) out.append(chunk.data(), n);
    const int raw = pclose(pipe.release());
    if (status) *status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return out;
}

std::map<std::string, std::string> probe(const std::string& path) {
    const std::string out = run(
        "ffprobe -v error -select_streams v:0 -count_packets -show_entries "
        "stream=codec_name,codec_tag_string,width,height,r_frame_rate,nb_frames,nb_read_packets "
        "-of default=nw=1 " + quoted(path));
    std::map<std::string, std::string> fields;
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line)) {
        const auto eq = line.find('=');
        if (eq != std::string::npos) fields[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return fields;
}

std::optional<BgrImage> decodeFrame(const std::string& path, int index, int width, int height) {
    TempDir dir;
    const std::string raw = dir.file("frame.bgr");
    int status = 0;
    run("ffmpeg -v error -i " + quoted(path) + " -vf \"select=eq(n\\," + std::to_string(index) +
            ")\" -fps_mode passthrough -frames:v 1 -f rawvideo -pix_fmt bgr24 " + quoted(raw),
        &status);
    const auto expected = static_cast<std::uintmax_t>(width) * height * 3;
    if (status != 0 || fileSize(raw) != static_cast<long long>(expected)) return std::nullopt;
    BgrImage image(width, height);
    std::unique_ptr<FILE, decltype(&std::fclose)> in(std::fopen(raw.c_str(), "rb"), &std::fclose);
    if (!in || std::fread(image.data(), 1, expected, in.get()) != expected) return std::nullopt;
    return image;
}

long long fileSize(const std::string& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    return error ? -1 : static_cast<long long>(size);
}

}  // namespace avitest
