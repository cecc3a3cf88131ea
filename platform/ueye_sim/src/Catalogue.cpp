// The virtual cameras a simulator can connect.
#include "ueye_sim/Control.h"

namespace ueye_sim {

const std::vector<CameraModel>& catalogue() {
    // Default clocks chosen so SIM1280 runs above 60 fps at full size and
    // SIM2592-C gains clearly from its optimal clock (see SensorTiming.cpp).
    static const std::vector<CameraModel> models{
        {"SIM1280-C", true, 1280, 1024, 4, 2, 5, 43, 43},
        {"SIM1280-M", false, 1280, 1024, 4, 2, 5, 43, 43},
        {"SIM2592-C", true, 2592, 1944, 8, 2, 6, 96, 24},
        {"SIM4912-M", false, 4912, 3684, 8, 4, 12, 128, 64},
        // 1284 x 966 pixels is no multiple of 16 (nor of 64): a pixel loop
        // that works in blocks ends with a partial one.
        {"SIM1284-C", true, 1284, 966, 4, 2, 5, 43, 43},
        {"SIM1284-M", false, 1284, 966, 4, 2, 5, 43, 43},
    };
    return models;
}

const CameraModel* findModel(const std::string& name) {
    for (const auto& model : catalogue())
        if (model.name == name) return &model;
    return nullptr;
}

}  // namespace ueye_sim
