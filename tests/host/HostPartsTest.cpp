// The host library's parts through their interfaces, on the simulator: the
// event pump, the stop-signal scope, the opener, the picture accessor, the
// AVI frame count and what a host says about a recording a failure ended.
#include "AviFrameCounter.h"
#include "CameraFixture.h"
#include "CameraOpener.h"
#include "EventPump.h"
#include "Format.h"
#include "LivePicture.h"
#include "RecordingGuard.h"
#include "RecordingLoss.h"
#include "StopSignal.h"

#include <Qel/Qel.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>
#include <wx/timer.h>

#include <csignal>
#include <filesystem>
#include <stdexcept>

namespace testsupport {
namespace {

using namespace std::chrono_literals;

// What a handler throws comes out of the pump (the console application object
// keeps it), and the loop goes on dispatching afterwards.
TEST(EventPump, WaitsForTheConditionOrTheDeadlineAndPassesOnAHandlersFailure) {
    host::EventPump pump;
    wxTimer failing;
    wxTimer timer;
    bool fired = false;
    failing.Bind(wxEVT_TIMER, [](wxTimerEvent&) { throw std::runtime_error("tick failed"); });
    timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) { fired = true; });
    failing.StartOnce(10);
    EXPECT_THROW(pump.runFor(2s), std::runtime_error);
    timer.StartOnce(30);
    int turns = 0;
    bool waitingInside = false;
    EXPECT_FALSE(host::EventPump::isWaiting());  // also after the pump that threw
    EXPECT_TRUE(pump.runUntil([&] { return fired; }, 5s,
                              [&] {
                                  ++turns;
                                  waitingInside = host::EventPump::isWaiting();
                              }));
    EXPECT_GT(turns, 0);
    EXPECT_TRUE(waitingInside);
    EXPECT_FALSE(host::EventPump::isWaiting());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(pump.runUntil([] { return false; }, 60ms));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 60ms);
}

// A binding's hook wraps every dispatch, and events still arrive through it.
TEST(EventPump, DispatchesThroughTheHookAroundIt) {
    int wrapped = 0;
    host::EventPump pump({}, 10ms, [&](const host::EventPump::Action& dispatch) {
        ++wrapped;
        dispatch();
    });
    wxTimer timer;
    bool fired = false;
    timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) { fired = true; });
    timer.StartOnce(20);
    EXPECT_TRUE(pump.runUntil([&] { return fired; }, 5s));
    EXPECT_GT(wrapped, 0);
}

TEST(EventPump, RethrowsTheFirstKeptHandlerFailureOnceAndRunsTheHostsCheck) {
    int checks = 0;
    host::EventPump pump([&] { ++checks; });
    host::keepHandlerFailure(std::make_exception_ptr(std::runtime_error("first")));
    host::keepHandlerFailure(std::make_exception_ptr(std::runtime_error("second")));
    try {
        pump.turn();
        ADD_FAILURE() << "nothing rethrown";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "first");
    }
    pump.runFor(20ms);  // the second was not kept
    EXPECT_GT(checks, 0);
    host::EventPump stopping([] { throw host::Interrupted(); });
    EXPECT_THROW(stopping.runUntil([] { return false; }, [] {}), host::Interrupted);
}

struct Signal {
    int number;
    const char* name;
};
void PrintTo(const Signal& signal, std::ostream* out) { *out << signal.name; }

class StopSignals : public ::testing::TestWithParam<Signal> {};

TEST_P(StopSignals, RaiseAFlagInTheScopeAndThePreviousHandlerComesBack) {
    const auto [number, name] = GetParam();
    static volatile std::sig_atomic_t before;
    before = 0;
    struct sigaction own {};
    own.sa_handler = [](int signal) { before = signal; };
    sigaction(number, &own, nullptr);
    {
        const host::StopSignal scope;
        EXPECT_NO_THROW(host::StopSignal::throwIfRaised());
        std::raise(SIGPIPE);  // ignored in the scope
        std::raise(number);
        EXPECT_STREQ(host::StopSignal::name(), name);
        EXPECT_EQ(host::Interrupted().what(), std::string("interrupted by ") + name);
        EXPECT_THROW(host::StopSignal::throwIfRaised(), host::Interrupted);
    }
    EXPECT_EQ(before, 0);
    std::raise(number);
    EXPECT_EQ(before, number);
    signal(number, SIG_DFL);
    const host::StopSignal fresh;
    EXPECT_FALSE(host::StopSignal::raised());
}

INSTANTIATE_TEST_SUITE_P(Signals, StopSignals,
                         ::testing::Values(Signal{SIGINT, "SIGINT"}, Signal{SIGTERM, "SIGTERM"},
                                           Signal{SIGHUP, "SIGHUP"}));

class HostCamera : public CameraFixture {};

// Opening failures without a preset to blame are in the hosts' scenario table.
TEST_F(HostCamera, AHalfSavedPresetIsNamedAndResetInsteadOfBlockingTheOpening) {
    open();
    config()->setUserMasterGain(camera()->getName(), 5);
    EXPECT_THROW(host::openCamera(*camera()), Qel::Exception);  // no image size in the preset
    EXPECT_EQ(camera()->getCamHandle(), nullptr);
    EXPECT_EQ(host::presetHint(*camera(), "the reset"),
              "a user preset is stored for SIM1280-C and may be why: the reset goes back to the factory values");
    EXPECT_TRUE(host::openResettingPreset(*camera()));
    EXPECT_NE(camera()->getCamHandle(), nullptr);
    EXPECT_EQ(host::presetHint(*camera(), "the reset"), "");
    EXPECT_FALSE(host::openResettingPreset(*camera()));
    // A reset whose opening fails too closes the camera again.
    config()->setUserMasterGain(camera()->getName(), 5);
    ueye_sim::failCall("is_GetSensorInfo", 3);
    EXPECT_THROW(host::openResettingPreset(*camera()), Qel::Exception);
    EXPECT_FALSE(host::presetStored(*camera()));
    EXPECT_EQ(camera()->getCamHandle(), nullptr);
}

TEST_F(HostCamera, ThePictureIsLentByAColorCameraAndOwnedForAMonochromeOne) {
    for (const char* sensor : {"SIM1280-C", "SIM1280-M"}) {
        open(sensor);
        const host::LivePicture first(*camera()), second(*camera());
        ASSERT_TRUE(first.ok() && first.bytes() == 1280u * 1024u * 3u) << sensor;
        EXPECT_EQ(first.pixels() == second.pixels(), camera()->isColor()) << sensor;
        EXPECT_TRUE(camera()->isColor() ||
                    (first.pixels()[0] == first.pixels()[1] && first.pixels()[1] == first.pixels()[2]));
        camera()->exit();
    }
}

TEST_F(HostCamera, AFailedRecordingIsStoppedAndToldInWords) {
    open();
    EXPECT_NE(host::tryStopRecording(*camera()).find("isavi_StopAVI"), std::string::npos);  // none open
    TempDir dir;
    const std::string file = dir.file("x.avi");
    CountingListener listener;
    camera()->startRecording(&listener, file, 0.0, 20.0, 1000.0, 20);
    for (int frame = 0; frame < 5; ++frame) recordTick(camera());
    EXPECT_EQ(host::tryStopRecording(*camera()), "");
    const host::RecordingKept kept = host::recordingKept(file, 20.0);
    EXPECT_EQ(kept.folder + "/", dir.path());
    // Five frames at 20 fps, on a file system neither full nor read-only.
    const std::string said = "the recording stopped: f; " + file + " keeps 5 frames (0.25 s at 20 fps)";
    EXPECT_EQ(host::describeLoss("f", kept, ""), said);
    host::RecordingKept other = kept;
    other.disk = host::DiskState::Full;
    other.bytesLeft = 2048;
    EXPECT_EQ(host::describeLoss("f", other, "no index"),
              said + "; the file system holding " + kept.folder +
                  " is full (2 kB left); the file could not be finished: no index");
    other.disk = host::DiskState::ReadOnly;
    EXPECT_EQ(host::describeLoss("f", other, ""), said + "; the file system holding " + kept.folder + " is read-only");
}

TEST(DiskRoom, TheReserveCoversHeadersIndexAndAFrameAndARefusalSaysBoth) {
    TempDir dir;
    const host::DiskRoom small = host::roomToStart(dir.file("x.avi"), 640, 480);
    const host::DiskRoom large = host::roomToStart(dir.file("x.avi"), 4912, 3684);
    // The headers rewritten at the end (160 kB) and one guessed frame, no more than a few.
    EXPECT_GT(small.bytesNeeded, 160u * 1024 + 640 * 480 / 10);
    EXPECT_LT(small.bytesNeeded, 1024u * 1024);
    EXPECT_GT(large.bytesNeeded, small.bytesNeeded);
    // One guessed frame is a tenth of a byte a pixel, line by line.
    EXPECT_EQ(host::roomToStart(dir.file("x.avi"), 6400, 2).bytesNeeded,
              host::roomToStart(dir.file("x.avi"), 6400, 1).bytesNeeded + 640);
    EXPECT_EQ(small.folder + "/", dir.path());
    EXPECT_EQ(host::startRefusal(small), "");  // the test folder has room for one frame
    // A file the recording will replace counts as free (a sparse one, so that it takes no room itself).
    writeFile(dir.file("x.avi"), "");
    std::filesystem::resize_file(dir.file("x.avi"), std::uintmax_t{1} << 30);
    EXPECT_GT(host::roomToStart(dir.file("x.avi"), 640, 480).bytesFree, small.bytesFree + (std::uint64_t{1} << 29));
    EXPECT_EQ(host::startRefusal({"f", 2048, 4096}),
              "the disk holding f is nearly full: 2 kB left, and a recording "
              "there needs at least 4 kB to be finished with its index");
}

// A chunk as AVI writers lay it out: id, little-endian size, data padded to
// an even length.
std::string chunk(const std::string& id, const std::string& data) {
    std::string size;
    for (int shift = 0; shift < 32; shift += 8) size += static_cast<char>(data.size() >> shift & 0xff);
    return id + size + data + std::string(data.size() % 2, '\0');
}

TEST(AviFrames, CountsCompleteVideoChunksAsTheyArriveAndReadTheDeclaredCount) {
    TempDir dir;
    std::string avih(56, '\0');
    avih[16] = 9;  // dwTotalFrames
    const std::string movi =
        chunk("00dc", "abc") + chunk("01wb", "xy") + chunk("00db", "wxyz") + chunk("00dc", "12345");
    const std::string file =
        chunk("RIFF", "AVI " + chunk("LIST", "hdrl" + chunk("avih", avih)) + chunk("LIST", "movi" + movi));
    writeFile(dir.file("x.avi"), file.substr(0, file.size() - 2));  // the last frame lacks a byte
    host::AviFrameCounter counter(dir.file("x.avi"));
    EXPECT_EQ(counter.update(), 2u);
    writeFile(dir.file("x.avi"), file);
    EXPECT_EQ(counter.update(), 3u);
    EXPECT_EQ(host::declaredFrameCount(dir.file("x.avi")), 9u);
    const std::string odml = chunk("LIST", "odml" + chunk("dmlh", std::string("\x07\x01\0\0", 4)));
    writeFile(dir.file("y.avi"), chunk("RIFF", "AVI " + chunk("LIST", "hdrl" + chunk("avih", avih) + odml)));
    EXPECT_EQ(host::declaredFrameCount(dir.file("y.avi")), 263u);
    EXPECT_EQ(host::declaredFrameCount(dir.file("none.avi")), 0u);
}

// The guard's reserve follows the file: the frames in it and the largest of
// them, which stands for the frames still to come.
TEST(RecordingGuardTest, TheReserveGrowsWithTheFramesAndTheLargestFrameWritten) {
    TempDir dir;
    const std::string path = dir.file("x.avi");
    const std::string head = "RIFF" + std::string(4, '\0') + "AVI " + "LIST" + std::string(4, '\0') + "movi";
    writeFile(path, head + chunk("00dc", std::string(1000, 'a')));
    wxEvtHandler camera;
    host::RecordingGuard guard(camera, path, 640, 480, [] {});
    wxTimer timer(&camera);
    wxTimerEvent tick(timer);  // from the camera, as its recording timer's are
    const auto reserveAfterTick = [&] {
        (void)guard.FilterEvent(tick);
        return guard.room().bytesNeeded;
    };
    const std::uint64_t one = reserveAfterTick();
    writeFile(path, head + chunk("00dc", std::string(1000, 'a')) + chunk("00dc", std::string(90000, 'b')) +
                        chunk("00dc", std::string(2000, 'c')));
    const std::uint64_t three = reserveAfterTick();
    // Two more index entries and three frames ahead of 90,000 bytes instead of 1,000.
    EXPECT_EQ(three - one, 2 * 24 + 3 * (90000 - 1000));
    EXPECT_FALSE(guard.tripped());
}

TEST(HostWords, NumbersInSixDigitsAndTheFramesALengthHolds) {
    EXPECT_EQ(host::number(15.5) + " " + host::number(25.0) + " " + host::number(1.0 / 3.0), "15.5 25 0.333333");
    // 0.1 x 30 is a rounding error above 3 in floating point.
    EXPECT_EQ(std::vector<std::uint64_t>(
                  {host::framesForLength(2, 25), host::framesForLength(0.1, 30), host::framesForLength(1, 7.5)}),
              (std::vector<std::uint64_t>{50, 3, 8}));
}

// A small tmpfs of the test's own, unmounted on every way out.
struct SmallFileSystem {
    explicit SmallFileSystem(const std::string& folder) : path(folder) {
        std::filesystem::create_directory(path);
        mounted = mount("tmpfs", path.c_str(), "tmpfs", 0, "size=2m") == 0;
    }
    ~SmallFileSystem() {
        if (mounted) umount(path.c_str());
    }
    std::string path;
    bool mounted = false;
};

TEST(RecordingKept, TellsAFullAndAReadOnlyFileSystem) {
    if (geteuid() != 0) GTEST_SKIP() << "mounting a small tmpfs needs root";
    TempDir dir;
    const SmallFileSystem small(dir.file("small"));
    ASSERT_TRUE(small.mounted);
    const std::string& folder = small.path;
    const host::RecordingKept empty = host::recordingKept(folder + "/x.avi", 25.0);
    EXPECT_EQ(empty.disk, host::DiskState::Fine);
    EXPECT_EQ(empty.frames, 0u);
    writeFile(folder + "/filler", std::string(2 * 1024 * 1024 - host::kFullBelowBytes + 8192, 'x'));
    const host::RecordingKept full = host::recordingKept(folder + "/x.avi", 25.0);
    EXPECT_EQ(full.disk, host::DiskState::Full);
    EXPECT_LT(full.bytesLeft, host::kFullBelowBytes);
    std::filesystem::remove(folder + "/filler");
    ASSERT_EQ(mount("tmpfs", folder.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=2m"), 0);
    EXPECT_EQ(host::recordingKept(folder + "/x.avi", 25.0).disk, host::DiskState::ReadOnly);
}

}  // namespace
}  // namespace testsupport
