// One instance of the AVI tools: its settings and the file it writes.
// Each member returns the tools' status (IS_AVI_NO_ERR or IS_AVI_ERR_*).
// Callers may use one recorder from several threads: it locks itself.
#pragma once

#include "AviContainer.h"
#include "AviFrameLayout.h"
#include "AviJpegEncoder.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

namespace ueye_sim::detail {

class AviRecorder {
public:
    AviRecorder() = default;
    ~AviRecorder();
    AviRecorder(const AviRecorder&) = delete;
    AviRecorder& operator=(const AviRecorder&) = delete;

    int setImageSize(int colorMode, long width, long height, long posX, long posY, long lineOffset);
    int setQuality(int quality);
    int open(const char* path);
    int setFrameRate(double fps);
    int start();
    int addFrame(const char* buffer);
    int sizeKb(float* kilobytes);
    int stop();
    int close();
    // Finishes and closes whatever is still open, as the instance goes away.
    int release();

private:
    enum class Phase { NoFile, Opened, Running, Stopped };

    int stopLocked();
    int closeLocked();

    std::mutex mutex_;
    Phase phase_ = Phase::NoFile;
    bool sizeSet_ = false;
    AviFrameLayout layout_;
    // Used until the caller sets its own.
    int quality_ = 75;
    int fpsNum_ = 25;
    int fpsDen_ = 1;
    std::unique_ptr<AviContainer> file_;
    std::unique_ptr<AviJpegEncoder> encoder_;
    bool everOpened_ = false;
    std::int64_t closedBytes_ = 0;  // size of the last file closed
};

}  // namespace ueye_sim::detail
