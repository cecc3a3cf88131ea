// How often the displayed picture really changes, per second.
#pragma once

namespace viewer {

class ChangeRate {
public:
    // One refresh at `seconds` (a steady clock); `changed` when its picture
    // differed from the previous one.
    void record(double seconds, bool changed);
    // Changes per second over the last full window; 0 until one has passed.
    double perSecond() const { return rate_; }

private:
    static constexpr double kWindow = 1.0;
    double windowStart_ = -1.0;
    int changes_ = 0;
    double rate_ = 0.0;
};

}  // namespace viewer
