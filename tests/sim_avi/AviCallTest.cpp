// Calls out of turn, with bad arguments or unknown ids, and failing files:
// a status, never a crash, and the instance still usable.
#include "AviFixture.h"

#include "ueye.h"

#include <cmath>
#include <functional>
#include <limits>

using namespace avitest;

namespace {

constexpr int kFails = -1;  // any status but IS_AVI_NO_ERR

// One call on an instance, with the arguments every script uses.
enum class Call {
    Size,
    Quality,
    Open,
    OpenOther,
    OpenNull,
    Rate,
    Start,
    Add,
    AddNull,
    GetSize,
    GetSizeNull,
    Stop,
    Close,
    Exit
};
struct Step {
    Call call;
    int status;  // expected; kFails for any failure
};
struct Script {
    const char* name;
    std::vector<Step> steps;
    long frames;  // then in the file; -1: no file
};

int perform(INT id, Call call, const std::string& path, const std::string& other) {
    BgrImage image(32, 32, red);
    float kb = 0.0f;
    switch (call) {
        case Call::Size: return isavi_SetImageSize(id, IS_AVI_CM_RGB24, 32, 32, 0, 0, 0);
        case Call::Quality: return isavi_SetImageQuality(id, 50);
        case Call::Open: return isavi_OpenAVI(id, path.c_str());
        case Call::OpenOther: return isavi_OpenAVI(id, other.c_str());
        case Call::OpenNull: return isavi_OpenAVI(id, nullptr);
        case Call::Rate: return isavi_SetFrameRate(id, 10.0);
        case Call::Start: return isavi_StartAVI(id);
        case Call::Add: return isavi_AddFrame(id, image.data());
        case Call::AddNull: return isavi_AddFrame(id, nullptr);
        case Call::GetSize: return isavi_GetAVISize(id, &kb);
        case Call::GetSizeNull: return isavi_GetAVISize(id, nullptr);
        case Call::Stop: return isavi_StopAVI(id);
        case Call::Close: return isavi_CloseAVI(id);
        case Call::Exit: return isavi_ExitAVI(id);
    }
    return kFails;
}

void PrintTo(const Script& script, std::ostream* out) { *out << script.name; }

class AviScripts : public AviTest, public ::testing::WithParamInterface<Script> {};

TEST_P(AviScripts, StatusesAndFile) {
    INT id = 0;
    ASSERT_EQ(isavi_InitAVI(&id, 1), IS_AVI_NO_ERR);
    const std::string path = dir.file("f.avi"), other = dir.file("other.avi");
    const auto& steps = GetParam().steps;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const int status = perform(id, steps[i].call, path, other);
        EXPECT_TRUE(steps[i].status == kFails ? status != IS_AVI_NO_ERR : status == steps[i].status)
            << "step " << i << ": " << status;
    }
    EXPECT_EQ(fileSize(other), -1);
    const std::string frames = std::to_string(GetParam().frames);
    if (GetParam().frames >= 0) {
        EXPECT_EQ(probeVideo(path).summary(), "mjpeg/MJPG 32x32 25/1 " + frames + "/" + frames);
    }
}

using C = Call;
constexpr int kOk = IS_AVI_NO_ERR;
constexpr int kRunning = IS_AVI_ERR_CAPTURE_RUNNING;

// clang-format off
INSTANTIATE_TEST_SUITE_P(Avi, AviScripts, ::testing::Values(
    Script{"ExitWithoutOpenSucceedsOnceOnly", {{C::Exit, kOk}, {C::Exit, IS_AVI_ERR_INVALID_ID}}, -1},
    Script{"CallsBeforeTheirTurnFail",
           {{C::GetSize, kFails}, {C::Start, kFails}, {C::Add, kFails}, {C::Stop, kFails}, {C::Close, kFails},
            {C::Open, kOk}, {C::Start, kFails}, {C::Add, kFails}, {C::Stop, kFails},
            {C::Size, kOk}, {C::Start, kOk}, {C::Add, kOk}, {C::Stop, kOk}, {C::Close, kOk}, {C::Exit, kOk}}, 1},
    Script{"ARunningRecordingForbidsChanges",
           {{C::Size, kOk}, {C::Open, kOk}, {C::Start, kOk}, {C::Add, kOk},
            {C::Size, kRunning}, {C::Rate, kRunning}, {C::Start, kRunning}, {C::OpenOther, kFails}, {C::Close, kFails},
            {C::Add, kOk}, {C::Stop, kOk}, {C::Stop, kOk}, {C::Add, kFails}, {C::Start, kFails},
            {C::Close, kOk}, {C::Close, kOk}, {C::Stop, kOk}, {C::Exit, kOk}}, 2},
    Script{"SecondOpenFailsAndKeepsTheFirstFile",
           {{C::Open, kOk}, {C::OpenOther, kFails}, {C::Open, kFails}, {C::Exit, kOk}}, -1},
    Script{"NullArgumentsFail",
           {{C::OpenNull, kFails}, {C::GetSizeNull, kFails}, {C::Size, kOk}, {C::Open, kOk}, {C::Start, kOk},
            {C::AddNull, kFails}, {C::Add, kOk}, {C::Exit, kOk}}, 1}));
// clang-format on

// One call with a bad argument, on a fresh instance.
struct BadArgument {
    const char* what;
    std::function<int(INT)> call;
    int status;
};

TEST_F(AviTest, BadArgumentsAreRefused) {
    using A = BadArgument;
    const auto size = [](int mode, int w, int h, int x, int y, int line) {
        return [=](INT id) { return isavi_SetImageSize(id, mode, w, h, x, y, line); };
    };
    const auto quality = [](int q) { return [=](INT id) { return isavi_SetImageQuality(id, q); }; };
    const auto rate = [](double fps) { return [=](INT id) { return isavi_SetFrameRate(id, fps); }; };
    const A rows[] = {
        {"colour mode 0", size(0, 16, 16, 0, 0, 0), IS_AVI_ERR_INVALID_CM},
        {"colour mode 2", size(2, 16, 16, 0, 0, 0), IS_AVI_ERR_INVALID_CM},
        {"width 0", size(IS_AVI_CM_RGB24, 0, 16, 0, 0, 0), IS_AVI_ERR_INVALID_SIZE},
        {"height -4", size(IS_AVI_CM_RGB24, 16, -4, 0, 0, 0), IS_AVI_ERR_INVALID_SIZE},
        {"line offset -1", size(IS_AVI_CM_RGB24, 16, 16, 0, 0, -1), IS_AVI_ERR_INVALID_SIZE},
        {"x -1", size(IS_AVI_CM_RGB24, 16, 16, -1, 0, 8), IS_AVI_ERR_INVALID_POSITION},
        {"past the line's end", size(IS_AVI_CM_RGB24, 16, 16, 9, 0, 8), IS_AVI_ERR_INVALID_POSITION},
        {"at the line's end", size(IS_AVI_CM_RGB24, 16, 16, 8, 3, 8), IS_AVI_NO_ERR},
        {"quality 0", quality(0), IS_AVI_ERR_INVALID_VALUE},
        {"quality 101", quality(101), IS_AVI_ERR_INVALID_VALUE},
        {"quality 1", quality(1), IS_AVI_NO_ERR},
        {"quality 100", quality(100), IS_AVI_NO_ERR},
        {"rate 0", rate(0.0), IS_AVI_ERR_INVALID_VALUE},
        {"rate -25", rate(-25.0), IS_AVI_ERR_INVALID_VALUE},
        {"rate NaN", rate(std::nan("")), IS_AVI_ERR_INVALID_VALUE},
        {"rate infinite", rate(std::numeric_limits<double>::infinity()), IS_AVI_ERR_INVALID_VALUE},
        {"rate 0.5", rate(0.5), IS_AVI_NO_ERR},
    };
    for (const A& row : rows) {
        INT id = 0;
        ASSERT_EQ(isavi_InitAVI(&id, 1), IS_AVI_NO_ERR);
        EXPECT_EQ(row.call(id), row.status) << row.what;
    }
}

TEST_F(AviTest, InitGivesPositiveIncreasingIdsAndUnknownIdsFailEverywhere) {
    INT first = 0, second = 0, third = 0;
    EXPECT_NE(isavi_InitAVI(nullptr, 1), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_InitAVI(&first, 1), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_InitAVI(&second, 1), IS_AVI_NO_ERR);
    EXPECT_GT(first, 0);
    EXPECT_GT(second, first);
    EXPECT_EQ(ueye_sim::openAviInstances(), 2);
    EXPECT_EQ(isavi_ExitAVI(first) + isavi_ExitAVI(second), IS_AVI_NO_ERR);
    EXPECT_EQ(ueye_sim::openAviInstances(), 0);
    ASSERT_EQ(isavi_InitAVI(&third, 1), IS_AVI_NO_ERR);
    EXPECT_GT(third, second);
    const std::string path = dir.file("never.avi");
    for (INT id : {0, -1, 12345, first})
        for (const Call call : {Call::Size, Call::Quality, Call::Open, Call::Rate, Call::Start, Call::Add,
                                Call::GetSize, Call::Stop, Call::Close, Call::Exit})
            EXPECT_EQ(perform(id, call, path, path), IS_AVI_ERR_INVALID_ID) << id << " " << static_cast<int>(call);
    EXPECT_EQ(fileSize(path), -1);
}

TEST_F(AviTest, OpenFailsWhereNoFileCanBeMade) {
    for (const std::string& path : {dir.file("missing/folder/x.avi"), std::string(), dir.path()}) {
        INT id = 0;
        ASSERT_EQ(isavi_InitAVI(&id, 1), IS_AVI_NO_ERR);
        ASSERT_EQ(perform(id, Call::Size, "", ""), IS_AVI_NO_ERR);
        EXPECT_NE(perform(id, Call::Open, path, ""), IS_AVI_NO_ERR) << path;
        EXPECT_NE(perform(id, Call::Start, "", ""), IS_AVI_NO_ERR) << path;
        EXPECT_EQ(perform(id, Call::Exit, "", ""), IS_AVI_NO_ERR) << path;
    }
    EXPECT_EQ(fileSize(dir.file("missing")), -1);
}

TEST_F(AviTest, WriteErrorsFailWithoutACrash) {
    // /dev/full takes the open but refuses every byte.
    INT id = 0;
    ASSERT_EQ(isavi_InitAVI(&id, 1), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_SetImageSize(id, IS_AVI_CM_RGB24, 256, 256, 0, 0, 0), IS_AVI_NO_ERR);
    BgrImage image(256, 256);
    for (int x = 0; x < 256; x += 2) image.fillRect(x, 0, 1, 256, white);
    ASSERT_EQ(isavi_OpenAVI(id, "/dev/full"), IS_AVI_NO_ERR);
    int status = isavi_StartAVI(id);
    for (int frame = 0; frame < 200 && status == IS_AVI_NO_ERR; ++frame) status = isavi_AddFrame(id, image.data());
    EXPECT_NE(status, IS_AVI_NO_ERR);
    EXPECT_NE(status, IS_AVI_ERR_WRITE_INFO);
    isavi_ExitAVI(id);
    EXPECT_EQ(ueye_sim::openAviInstances(), 0);
}

// The fault sweep finds the AVI calls it fails in this log.
TEST_F(AviTest, CallsAppearInTheCallLog) {
    BgrImage image(16, 16);
    ueye_sim::clearCallLog();
    ASSERT_EQ(recordFile(dir.file("log.avi"), image, 1, 25.0), 0);
    EXPECT_EQ(ueye_sim::callNames(),
              (std::vector<std::string>{"isavi_InitAVI", "isavi_SetImageSize", "isavi_SetImageQuality", "isavi_OpenAVI",
                                        "isavi_SetFrameRate", "isavi_StartAVI", "isavi_AddFrame", "isavi_StopAVI",
                                        "isavi_CloseAVI", "isavi_ExitAVI"}));
}

}  // namespace
