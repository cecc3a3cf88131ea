// The camera's settings as the checker found them on opening, and how they
// are put back.
#pragma once

#include <Nimbrel_model/Camera.h>

#include <string>

namespace check {

struct CameraBaseline {
    std::string name;
    int maxWidth = 0;
    int maxHeight = 0;
    bool color = true;
    int gain = 0, redGain = 0, greenGain = 0, blueGain = 0;
    bool autoGain = false;
    int brightness = 0;
    double exposure = 0.0;
    double frameRate = 0.0;
    int width = 0, height = 0;

    static CameraBaseline read(const Nimbrel_model::Camera& camera);
    // Writes every value back through the module.
    void apply(Nimbrel_model::Camera& camera) const;
};

// Where `actual` differs from `wanted`, "" when nowhere. The master gain is
// left out while automatic gain moves it.
std::string differences(const CameraBaseline& actual, const CameraBaseline& wanted);

}  // namespace check
