// Video files and pictures read back with ffprobe and ffmpeg, and 3-byte
// B, G, R frame buffers to compare with (no wxWidgets).
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace testsupport {

// The first video stream as ffprobe reads it.
struct VideoInfo {
    bool ok = false;  // ffprobe read the file
    std::string codec;
    std::string tag;
    int width = 0;
    int height = 0;
    std::string rate;         // "25/1"
    long frames = -1;         // packets counted by reading the file ("N/A", no frame: 0)
    std::string indexFrames;  // frame count from the index ("N/A" without one)

    // "codec/tag WxH rate frames/indexFrames", one text to compare in a table.
    std::string summary() const;
};
VideoInfo probeVideo(const std::string& path);

// dwTotalFrames of an AVI file's main header ("avih"); -1 without one.
long long aviHeaderFrames(const std::string& path);

struct Bgr {
    std::uint8_t b, g, r;
};
inline constexpr Bgr red{0, 0, 255};
inline constexpr Bgr green{0, 255, 0};
inline constexpr Bgr blue{255, 0, 0};
inline constexpr Bgr white{255, 255, 255};
inline constexpr Bgr magenta{255, 0, 255};
inline constexpr Bgr black{0, 0, 0};

// Colours closer than `tolerance` in every channel (JPEG is lossy).
bool near(Bgr a, Bgr b, int tolerance = 40);
std::ostream& operator<<(std::ostream& out, Bgr color);

// A frame buffer of 3-byte pixels in B, G, R order, rows without padding.
class BgrImage {
public:
    BgrImage(int width, int height, Bgr fill = black);
    void fillRect(int x, int y, int width, int height, Bgr color);
    Bgr at(int x, int y) const;
    char* data() { return reinterpret_cast<char*>(bytes_.data()); }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    int width_;
    int height_;
    std::vector<std::uint8_t> bytes_;
};

// Frame `index` of a video (or the picture) decoded to B, G, R; nothing when
// decoding failed or the frame is not `width` x `height`.
std::optional<BgrImage> decodeFrame(const std::string& path, int index, int width, int height);

}  // namespace testsupport
