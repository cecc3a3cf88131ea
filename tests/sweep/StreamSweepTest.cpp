// The frame stream's SDK calls, each failing on every call in turn: the
// failure reaches the caller (start, next or stop, on whichever thread), the
// stream stops, and the camera closes and opens again.
#include <Nimbrel_model/FrameStream.h>
#include <gtest/gtest.h>

#include "Sweep.h"

namespace sweep {
namespace {

using Nimbrel_model::FrameStream;
using namespace std::chrono_literals;

struct StreamCase {
    const char* name;
    const char* function;
    std::function<void(Session&)> run;
    int nth = 0;  // the call that fails; 0: every one
};

FrameStream* stream() { return FrameStream::getInstance(); }

void startThenTake(Session&) {
    stream()->start();
    for (int i = 0; i < 10; ++i) (void)stream()->next(2s);
}

const std::vector<StreamCase>& cases() {
    static const std::vector<StreamCase> all{
        {"start", "is_EnableEvent", [](Session&) { stream()->start(); }},
        {"next_wait", "is_WaitEvent", startThenTake},
        {"next_area", "is_SetAOI", startThenTake},
        {"next_hold", "is_LockSeqBuf", startThenTake},
        {"next_info", "is_GetImageInfo", startThenTake},
        {"next_release", "is_UnlockSeqBuf", startThenTake},
        // The first frame after the start is passed by; the second is copied.
        {"next_release_after_a_copy", "is_UnlockSeqBuf", startThenTake, 2},
        {"stop", "is_DisableEvent",
         [](Session&) {
             stream()->start();
             (void)stream()->next(2s);
             stream()->stop();
         }},
        {"exit", "is_DisableEvent",
         [](Session& s) {
             stream()->start();
             (void)stream()->next(2s);
             s.camera()->exit();
         }},
    };
    return all;
}

class StreamFaultSweep : public ::testing::TestWithParam<std::size_t> {};

TEST_P(StreamFaultSweep, TheFailureReachesTheCaller) {
    const StreamCase& c = cases()[GetParam()];
    const int status = 4100 + static_cast<int>(GetParam());
    Session session("SIM1280-C");
    session.camera()->init();
    ueye_sim::failCall(c.function, status, c.nth);
    EXPECT_EQ(testsupport::thrownText([&] { c.run(session); }), testsupport::sdkFailureText(c.function, status));
    EXPECT_FALSE(stream()->isRunning());
    // Reported once.
    EXPECT_EQ(testsupport::thrownText([] { (void)stream()->next(10ms); }), "");
    EXPECT_EQ(session.close(), "");
    EXPECT_EQ(session.leftovers(), "");
    EXPECT_EQ(session.reopen(), "");
}

INSTANTIATE_TEST_SUITE_P(Stream, StreamFaultSweep, ::testing::Range<std::size_t>(0, cases().size()),
                         [](const ::testing::TestParamInfo<std::size_t>& info) { return cases()[info.param].name; });

}  // namespace
}  // namespace sweep
