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
    // Changes per second from one second after the first refresh to the
    // latest one: the start-up is left out. 0 until then.
    double averageAfterWarmUp() const;

private:
    static constexpr double kWindow = 1.0;
    static constexpr double kWarmUp = 1.0;
    double windowStart_ = -1.0;
    int changes_ = 0;
    double rate_ = 0.0;
    double first_ = -1.0;
    double warmStart_ = -1.0;
    double latest_ = -1.0;
    long warmChanges_ = 0;
};

}  // namespace viewer
