// One Motion-JPEG AVI file written through libavformat: opened, given its
// header, filled with one key-frame packet per frame, finished and closed.
// libavformat moves to OpenDML by itself past 1 GiB, so large files stay whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

extern "C" {
#include <libavutil/rational.h>
}

struct AVFormatContext;

namespace ueye_sim::detail {

class AviContainer {
public:
    // Creates the file; isOpen() tells whether that worked.
    explicit AviContainer(const std::string& path);
    ~AviContainer();
    AviContainer(const AviContainer&) = delete;
    AviContainer& operator=(const AviContainer&) = delete;

    bool isOpen() const { return context_ != nullptr; }

    // Writes the header of one MJPG video stream; the frame rate is
    // fpsNum / fpsDen frames per second.
    bool writeHeader(int width, int height, int fpsNum, int fpsDen);
    // Appends one JPEG picture as the next frame.
    bool writeFrame(const unsigned char* jpeg, std::size_t size);
    // Writes the index and the final headers.
    bool writeTrailer();
    // Flushes and closes the file; the container is then closed.
    bool close();

    // Bytes in the file so far, buffered ones included.
    std::int64_t bytesWritten() const;

private:
    struct ContextDeleter {
        void operator()(AVFormatContext* context) const;
    };

    std::unique_ptr<AVFormatContext, ContextDeleter> context_;
    std::string path_;
    AVRational frameTimeBase_{1, 25};
    std::int64_t frames_ = 0;
    std::int64_t finishedSize_ = -1;  // after the trailer
    std::int64_t closedSize_ = 0;
};

}  // namespace ueye_sim::detail
