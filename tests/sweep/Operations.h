// The public operations of Camera, each with the state it needs first.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "SweepSession.h"

namespace sweep {

struct Operation {
    std::string name;    // also the test's name: letters, digits and '_'
    std::string sensor;  // the connected camera
    // Brings a fresh session to the state the operation needs; its SDK calls
    // are not part of the sweep.
    std::function<void(Session&)> prepare;
    std::function<void(Session&)> run;
    // The operation's SDK calls all come from the optimisation thread.
    bool onWorkerThread = false;
    // Stopped part way, it may leave a preset without a size: the camera
    // then opens again only after resetUserSettings, which is by design
    // (what a save has stored stays stored, missing sizes are 0 by 0).
    bool mayLeavePartialPreset = false;
};

const std::vector<Operation>& operations();

}  // namespace sweep
