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
    };
    return models;
}

const CameraModel* findModel(const std::string& name) {
    for (const auto& model : catalogue())
        if (model.name == name) return &model;
    return nullptr;
}

}  // namespace ueye_sim
