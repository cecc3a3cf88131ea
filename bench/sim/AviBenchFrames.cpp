#include "AviBenchFrames.h"

#include "ueye.h"

#include <cstdio>
#include <random>

namespace avibench {

std::vector<char> makeFrame(int width, int height, bool color, unsigned seed) {
    static constexpr unsigned char bars[][3] = {{0, 0, 220},     {0, 220, 0},   {220, 0, 0},
                                                {230, 230, 230}, {0, 220, 220}, {220, 0, 220}};
    std::vector<char> frame(static_cast<std::size_t>(width) * height * 3);
    std::minstd_rand noise(seed);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            int bgr[3];
            if (y < height / 2) {
                bgr[0] = 255 * x / width;
                bgr[1] = 255 * y / height;
                bgr[2] = 255 - 255 * x / width;
            } else {
                const auto* bar = bars[x * 6 / width];
                for (int c = 0; c < 3; ++c) bgr[c] = bar[c];
            }
            const int jitter = static_cast<int>(noise() % 9) - 4;
            if (!color) bgr[0] = bgr[1] = bgr[2] = (bgr[0] + 2 * bgr[1] + bgr[2]) / 4;
            char* pixel = &frame[(static_cast<std::size_t>(y) * width + x) * 3];
            for (int c = 0; c < 3; ++c) {
                int v = bgr[c] + jitter;
                v = v < 0 ? 0 : (v > 255 ? 255 : v);
                pixel[c] = static_cast<char>(v);
            }
        }
    }
    return frame;
}

AviSession::AviSession(std::string path, int width, int height, int quality, double fps) : path_(std::move(path)) {
    ok_ = isavi_InitAVI(&id_, 1) == IS_AVI_NO_ERR &&
          isavi_SetImageSize(id_, IS_AVI_CM_RGB24, width, height, 0, 0, 0) == IS_AVI_NO_ERR &&
          isavi_SetImageQuality(id_, quality) == IS_AVI_NO_ERR && isavi_OpenAVI(id_, path_.c_str()) == IS_AVI_NO_ERR &&
          isavi_SetFrameRate(id_, fps) == IS_AVI_NO_ERR && isavi_StartAVI(id_) == IS_AVI_NO_ERR;
}

AviSession::~AviSession() {
    if (id_ != 0) {
        isavi_StopAVI(id_);
        isavi_CloseAVI(id_);
        isavi_ExitAVI(id_);
    }
    if (!keep_) std::remove(path_.c_str());
}

}  // namespace avibench
