#include "AviRecorder.h"

#include "ueye.h"

#include <cmath>

extern "C" {
#include <libavutil/rational.h>
}

namespace ueye_sim::detail {

namespace {

// Largest JPEG side.
constexpr long maxSide = 65500;
// Keeps rates such as 30000/1001 exact.
constexpr int maxRateTerm = 1001000;

}  // namespace

AviRecorder::~AviRecorder() { release(); }

int AviRecorder::setImageSize(int colorMode, long width, long height, long posX, long posY, long lineOffset) {
    std::lock_guard lock(mutex_);
    if (phase_ == Phase::Running) return IS_AVI_ERR_CAPTURE_RUNNING;
    if (colorMode != IS_AVI_CM_RGB24) return IS_AVI_ERR_INVALID_CM;
    if (width <= 0 || height <= 0 || width > maxSide || height > maxSide || lineOffset < 0 || lineOffset > maxSide)
        return IS_AVI_ERR_INVALID_SIZE;
    // The picture must lie inside a buffer line of width + lineOffset pixels.
    if (posX < 0 || posY < 0 || posX > lineOffset || posY > maxSide) return IS_AVI_ERR_INVALID_POSITION;
    layout_ = AviFrameLayout{static_cast<int>(width), static_cast<int>(height), static_cast<int>(posX),
                             static_cast<int>(posY), static_cast<int>(lineOffset)};
    sizeSet_ = true;
    return IS_AVI_NO_ERR;
}

int AviRecorder::setQuality(int quality) {
    if (quality < 1 || quality > 100) return IS_AVI_ERR_INVALID_VALUE;
    std::lock_guard lock(mutex_);
    quality_ = quality;
    return IS_AVI_NO_ERR;
}

int AviRecorder::open(const char* path) {
    std::lock_guard lock(mutex_);
    if (phase_ != Phase::NoFile) return IS_AVI_ERR_INVALID_FILE;
    if (!path || !*path) return IS_AVI_ERR_INVALID_FILE;
    auto file = std::make_unique<AviContainer>(path);
    if (!file->isOpen()) return IS_AVI_ERR_INVALID_FILE;
    file_ = std::move(file);
    everOpened_ = true;
    phase_ = Phase::Opened;
    return IS_AVI_NO_ERR;
}

int AviRecorder::setFrameRate(double fps) {
    if (!std::isfinite(fps) || fps <= 0.0) return IS_AVI_ERR_INVALID_VALUE;
    const AVRational rate = av_d2q(fps, maxRateTerm);
    if (rate.num <= 0 || rate.den <= 0) return IS_AVI_ERR_INVALID_VALUE;
    std::lock_guard lock(mutex_);
    if (phase_ == Phase::Running) return IS_AVI_ERR_CAPTURE_RUNNING;
    fpsNum_ = rate.num;
    fpsDen_ = rate.den;
    return IS_AVI_NO_ERR;
}

int AviRecorder::start() {
    std::lock_guard lock(mutex_);
    if (phase_ == Phase::Running) return IS_AVI_ERR_CAPTURE_RUNNING;
    if (phase_ != Phase::Opened) return IS_AVI_ERR_INVALID_FILE;
    if (!sizeSet_) return IS_AVI_ERR_INVALID_SIZE;
    if (!encoder_ || !encoder_->fits(layout_.width, layout_.height)) {
        encoder_ = std::make_unique<AviJpegEncoder>(layout_.width, layout_.height);
        if (!encoder_->valid()) {
            encoder_.reset();
            return IS_AVI_ERR_NEW_FAILED;
        }
    }
    if (!file_->writeHeader(layout_.width, layout_.height, fpsNum_, fpsDen_)) return IS_AVI_ERR_CREATESTREAM;
    phase_ = Phase::Running;
    return IS_AVI_NO_ERR;
}

int AviRecorder::addFrame(const char* buffer) {
    std::lock_guard lock(mutex_);
    if (phase_ != Phase::Running) return IS_AVI_ERR_CAPTURE_NOT_RUNNING;
    if (!buffer) return IS_AVI_ERR_PARAMETER;
    const auto* base = reinterpret_cast<const unsigned char*>(buffer);
    const AviBgrView picture{base + layout_.firstByte(), layout_.width, layout_.height,
                             static_cast<int>(layout_.pitch())};
    const AviJpeg jpeg = encoder_->encode(picture, quality_);
    if (jpeg.size == 0) return IS_AVI_ERR_COMPRESS;
    if (!file_->writeFrame(jpeg.data, jpeg.size)) return IS_AVI_ERR_INVALID_FILE;
    return IS_AVI_NO_ERR;
}

int AviRecorder::sizeKb(float* kilobytes) {
    if (!kilobytes) return IS_AVI_ERR_PARAMETER;
    std::lock_guard lock(mutex_);
    if (!everOpened_) return IS_AVI_ERR_INVALID_FILE;
    const std::int64_t bytes = file_ ? file_->bytesWritten() : closedBytes_;
    *kilobytes = static_cast<float>(static_cast<double>(bytes) / 1024.0);
    return IS_AVI_NO_ERR;
}

int AviRecorder::stop() {
    std::lock_guard lock(mutex_);
    return stopLocked();
}

int AviRecorder::stopLocked() {
    // Stopping again is harmless, so that a caller whose close failed can
    // repeat the whole stop-close-exit sequence.
    if (phase_ == Phase::Stopped || (phase_ == Phase::NoFile && everOpened_)) return IS_AVI_NO_ERR;
    if (phase_ != Phase::Running) return IS_AVI_ERR_CAPTURE_NOT_RUNNING;
    phase_ = Phase::Stopped;
    return file_->writeTrailer() ? IS_AVI_NO_ERR : IS_AVI_ERR_INVALID_FILE;
}

int AviRecorder::close() {
    std::lock_guard lock(mutex_);
    if (phase_ == Phase::Running) return IS_AVI_ERR_CAPTURE_RUNNING;
    return closeLocked();
}

int AviRecorder::closeLocked() {
    if (phase_ == Phase::NoFile) return everOpened_ ? IS_AVI_NO_ERR : IS_AVI_ERR_INVALID_FILE;
    const bool closed = file_->close();
    closedBytes_ = file_->bytesWritten();
    file_.reset();
    phase_ = Phase::NoFile;
    return closed ? IS_AVI_NO_ERR : IS_AVI_ERR_INVALID_FILE;
}

int AviRecorder::release() {
    std::lock_guard lock(mutex_);
    int status = IS_AVI_NO_ERR;
    if (phase_ == Phase::Running) status = stopLocked();
    if (phase_ != Phase::NoFile) {
        const int closed = closeLocked();
        if (status == IS_AVI_NO_ERR) status = closed;
    }
    encoder_.reset();
    return status;
}

}  // namespace ueye_sim::detail
