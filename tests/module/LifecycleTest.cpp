#include "CameraFixture.h"

#include <algorithm>

namespace camtest {
namespace {

using LifecycleTest = CameraFixture;

TEST_F(LifecycleTest, BeforeTheFirstInitNothingIsKnown) {
    EXPECT_EQ(camera(), Camera::getInstance());
    EXPECT_EQ(camera()->getCamHandle(), nullptr);
    EXPECT_TRUE(camera()->getName().empty());
    EXPECT_TRUE(camera()->getSensor().empty());
    EXPECT_EQ(camera()->getMaxWidth(), 0);
    EXPECT_EQ(camera()->getMaxHeight(), 0);
    EXPECT_TRUE(camera()->isColor());
    EXPECT_EQ(camera()->getActiveImage(), nullptr);
}

TEST_F(LifecycleTest, OpensEveryCatalogueCamera) {
    for (const auto& model : ueye_sim::catalogue()) {
        SCOPED_TRACE(model.name);
        delete Camera::getInstance();
        open(model.name);
        EXPECT_NE(camera()->getCamHandle(), nullptr);
        EXPECT_EQ(camera()->getName().str(), model.name);
        EXPECT_EQ(camera()->getSensor().str(), model.name);
        EXPECT_EQ(camera()->getMaxWidth(), model.maxWidth);
        EXPECT_EQ(camera()->getMaxHeight(), model.maxHeight);
        EXPECT_EQ(camera()->isColor(), model.colour);
        EXPECT_TRUE(ueye_sim::state().capturing);
        EXPECT_EQ(ueye_sim::state().allocatedMemories, 1);
        camera()->exit();
        EXPECT_FALSE(ueye_sim::state().open);
        EXPECT_EQ(ueye_sim::state().allocatedMemories, 0);
    }
}

TEST_F(LifecycleTest, ExitKeepsWhatTheLastInitRead) {
    open("SIM1280-M");
    camera()->exit();
    EXPECT_EQ(camera()->getCamHandle(), nullptr);
    EXPECT_EQ(camera()->getName().str(), "SIM1280-M");
    EXPECT_EQ(camera()->getMaxWidth(), 1280);
    EXPECT_FALSE(camera()->isColor());
}

TEST_F(LifecycleTest, MonochromeFlagStaysForTheLifeOfTheInstance) {
    open("SIM1280-M");
    ueye_sim::connectCamera("SIM2592-C");
    camera()->exit();
    camera()->init();
    EXPECT_EQ(camera()->getName().str(), "SIM2592-C");
    EXPECT_FALSE(camera()->isColor());
}

TEST_F(LifecycleTest, ExitOnAClosedCameraDoesNothing) {
    camera()->exit();
    open();
    camera()->exit();
    ueye_sim::clearCallLog();
    camera()->exit();
    EXPECT_TRUE(calls().empty());
}

TEST_F(LifecycleTest, SecondInitClosesBeforeOpening) {
    open();
    ueye_sim::clearCallLog();
    camera()->init();
    const auto names = calls();
    ASSERT_GE(names.size(), 4u);
    EXPECT_EQ(names[0], "is_StopLiveVideo");
    EXPECT_EQ(names[1], "is_FreeImageMem");
    EXPECT_EQ(names[2], "is_ExitCamera");
    EXPECT_EQ(names[3], "is_InitCamera");
    EXPECT_EQ(ueye_sim::state().allocatedMemories, 1);
}

TEST_F(LifecycleTest, NoCameraConnected) {
    ueye_sim::connectCamera("none");
    try {
        camera()->init();
        FAIL() << "init opened a camera that is not there";
    } catch (const Qel::Exception& e) {
        EXPECT_NE(e.getMessage().str().find("is_InitCamera"), std::string::npos);
        EXPECT_EQ(e.getSeverity(), 10);
    }
    EXPECT_EQ(camera()->getCamHandle(), nullptr);
}

TEST_F(LifecycleTest, FailuresOfInitKeepTheCameraOpen) {
    ueye_sim::failCall("is_GetSensorInfo", 7);
    expectSdkFailure([&] { camera()->init(); }, "is_GetSensorInfo", 7);
    EXPECT_NE(camera()->getCamHandle(), nullptr);
    ueye_sim::clearScripts();
    ueye_sim::failCall("is_CaptureVideo", 9);
    expectSdkFailure([&] { camera()->init(); }, "is_CaptureVideo", 9);
    EXPECT_NE(camera()->getCamHandle(), nullptr);
    ueye_sim::clearScripts();
    camera()->init();
    EXPECT_TRUE(ueye_sim::state().capturing);
}

TEST_F(LifecycleTest, FailuresOfExitLeaveTheStateBetweenItsSteps) {
    open();
    ueye_sim::failCall("is_StopLiveVideo", 3, 1);
    expectSdkFailure([&] { camera()->exit(); }, "is_StopLiveVideo", 3);
    EXPECT_NE(camera()->getCamHandle(), nullptr);

    ueye_sim::failCall("is_FreeImageMem", 4, 1);
    expectSdkFailure([&] { camera()->exit(); }, "is_FreeImageMem", 4);
    EXPECT_NE(camera()->getCamHandle(), nullptr);

    ueye_sim::failCall("is_ExitCamera", 5, 1);
    expectSdkFailure([&] { camera()->exit(); }, "is_ExitCamera", 5);
    EXPECT_NE(camera()->getCamHandle(), nullptr);

    camera()->exit();
    EXPECT_EQ(camera()->getCamHandle(), nullptr);
    EXPECT_FALSE(ueye_sim::state().open);
    EXPECT_EQ(ueye_sim::state().allocatedMemories, 0);
}

TEST_F(LifecycleTest, DestructorSwallowsAFailingExit) {
    open();
    ueye_sim::failCall("is_StopLiveVideo", 3);
    EXPECT_NO_THROW(delete Camera::getInstance());
    ueye_sim::clearScripts();
    EXPECT_EQ(Camera::getInstance()->getCamHandle(), nullptr);
}

TEST_F(LifecycleTest, RemoveListenerRemovesEveryCopy) {
    CountingListener a, b;
    open();
    // Three recordings ended by their size limit register a, b, a.
    testsupport::TempDir dir;
    for (CameraListener* listener : {static_cast<CameraListener*>(&a), static_cast<CameraListener*>(&b),
                                     static_cast<CameraListener*>(&a)}) {
        camera()->startRecording(listener, dir.file("x.avi"), 0, 25, 0, 25);
        camera()->pauseRecording();
        recordTick(camera());
    }
    // The lists were [a], [a, b], [a, b, a].
    EXPECT_EQ(a.recordEnds, 4);
    EXPECT_EQ(b.recordEnds, 2);
    camera()->removeListener(&a);
    camera()->startRecording(&b, dir.file("x.avi"), 0, 25, 0, 25);
    camera()->pauseRecording();
    recordTick(camera());
    EXPECT_EQ(a.recordEnds, 4);
    EXPECT_EQ(b.recordEnds, 4);  // [b, b]
    camera()->removeListener(&b);
    camera()->removeListener(&b);  // absent: no change
}

}  // namespace
}  // namespace camtest
