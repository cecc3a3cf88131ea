// Helpers of the AVI tests: temporary folders, B,G,R frame buffers, a short
// recording through the C functions, and reading files back with ffprobe and
// ffmpeg.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace avitest {

// A fresh folder, removed with its contents at the end of the scope.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

struct Bgr {
    std::uint8_t b, g, r;
};
inline constexpr Bgr red{0, 0, 255};
inline constexpr Bgr green{0, 255, 0};
inline constexpr Bgr blue{255, 0, 0};
inline constexpr Bgr white{255, 255, 255};
inline constexpr Bgr magenta{255, 0, 255};

// A frame buffer of 3-byte pixels in B, G, R order.
class BgrImage {
public:
    BgrImage(int width, int height, Bgr fill = {0, 0, 0});
    void fillRect(int x, int y, int width, int height, Bgr colour);
    Bgr at(int x, int y) const;
    char* data() { return reinterpret_cast<char*>(bytes_.data()); }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    int width_;
    int height_;
    std::vector<std::uint8_t> bytes_;
};

// Colours closer than `tolerance` in every channel.
bool near(Bgr a, Bgr b, int tolerance = 40);
std::string describe(Bgr colour);

// Records `frames` copies of `image` (whole image, no offset) at `fps` through
// the isavi_* calls, ending with Stop, Close and Exit. Returns the first
// nonzero status, or 0.
int recordFile(const std::string& path, BgrImage& image, int frames, double fps, int quality = 90);

// Stream fields of the first video stream as ffprobe reports them.
std::map<std::string, std::string> probe(const std::string& path);
// Frame `index` decoded to B, G, R; nothing when decoding failed.
std::optional<BgrImage> decodeFrame(const std::string& path, int index, int width, int height);

long long fileSize(const std::string& path);
// Runs a shell command, returns its standard output and its exit status.
std::string run(const std::string& command, int* status = nullptr);

}  // namespace avitest
