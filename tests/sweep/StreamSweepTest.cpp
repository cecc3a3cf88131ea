// The frame stream's SDK calls, each failing on every call in turn: the
// failure reaches the caller (start, next or stop, on whichever thread), the
// stream stops, and the camera closes and opens again.
#include <Nimbrel_model/FrameStream.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

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

void startThenStop(Session&) {
    stream()->start();
    (void)stream()->next(2s);
    stream()->stop();
}

// A consumer that keeps every frame makes the stream lend the camera more memory.
void startThenKeep(Session&) {
    stream()->start(1);
    std::vector<Nimbrel_model::Frame> kept;
    for (int i = 0; i < 10; ++i)
        if (auto frame = stream()->next(2s)) kept.push_back(std::move(*frame));
}

// The start lends the camera the queue's depth and three buffers more.
const int kStartBuffers = 3 + 3;

const std::vector<StreamCase>& cases() {
    static const std::vector<StreamCase> all{
        {"start", "is_EnableEvent", [](Session&) { stream()->start(); }},
        {"start_own_memory", "is_SetAllocatedImageMem", [](Session&) { stream()->start(); }},
        {"start_own_memory_last", "is_SetAllocatedImageMem", [](Session&) { stream()->start(); }, kStartBuffers},
        {"start_sequence_clear", "is_ClearSequence", [](Session&) { stream()->start(); }},
        {"start_sequence_add", "is_AddToSequence", [](Session&) { stream()->start(); }},
        {"next_wait", "is_WaitEvent", startThenTake},
        {"next_buffer", "is_GetActiveBuffer", startThenTake},
        {"next_more_memory", "is_SetAllocatedImageMem", startThenKeep, 1 + 3 + 1},
        {"next_area", "is_SetAOI", startThenTake},
        {"next_hold", "is_LockSeqBuf", startThenTake},
        {"next_info", "is_GetImageInfo", startThenTake},
        {"next_release", "is_UnlockSeqBuf", startThenTake},
        // The first frame after the start is passed by; the second is handed out and given back.
        {"next_release_after_a_frame", "is_UnlockSeqBuf", startThenTake, 2},
        {"stop", "is_DisableEvent", startThenStop},
        {"stop_sequence_clear", "is_ClearSequence", startThenStop, 2},
        {"stop_sequence_add", "is_AddToSequence", startThenStop, kStartBuffers + 1},
        {"stop_let_go", "is_FreeImageMem", startThenStop},
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
    // A start that failed gave the camera back its own memory alone.
    if (std::string(c.name).rfind("start", 0) == 0) {
        EXPECT_EQ(ueye_sim::state().allocatedMemories, 1);
    }
    // Reported once, and the stream starts again.
    EXPECT_EQ(testsupport::thrownText([] { (void)stream()->next(10ms); }), "");
    ueye_sim::clearScripts();
    EXPECT_EQ(testsupport::thrownText([] {
                  stream()->start();
                  if (!stream()->next(2s)) throw std::runtime_error("no frame after the start");
                  stream()->stop();
              }),
              "");
    EXPECT_EQ(session.close(), "");
    EXPECT_EQ(session.leftovers(), "");
    EXPECT_EQ(session.reopen(), "");
}

INSTANTIATE_TEST_SUITE_P(Stream, StreamFaultSweep, ::testing::Range<std::size_t>(0, cases().size()),
                         [](const ::testing::TestParamInfo<std::size_t>& info) { return cases()[info.param].name; });

}  // namespace
}  // namespace sweep
