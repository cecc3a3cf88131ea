#include "AviTestSupport.h"

#include "ueye.h"

namespace avitest {

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

}  // namespace avitest
