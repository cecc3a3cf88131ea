// Hundreds of openings and recordings in one process. After a warm-up, the
// resident memory, the open files and the threads stay where they were.
#include <Nimbrel_model/Camera.h>
#include <Nimbrel_model/CameraListener.h>
#include <Nimbrel_model/Config.h>
#include <gtest/gtest.h>
#include <ueye_sim/Control.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>

#include "CameraFixture.h"

namespace soak {
namespace {

using Nimbrel_model::Camera;
using Nimbrel_model::CameraListener;
using Nimbrel_model::Config;

// What the running process holds, read from /proc/self.
struct ProcessFigures {
    long long residentBytes = 0;
    int openFiles = 0;
    int threads = 0;

    static int countEntries(const char* folder) {
        int count = 0;
        std::error_code error;
        for (auto it = std::filesystem::directory_iterator(folder, error);
             !error && it != std::filesystem::directory_iterator(); it.increment(error))
            ++count;
        return count;
    }
    static ProcessFigures now() {
        ProcessFigures figures;
        std::ifstream statm("/proc/self/statm");
        long long size = 0, resident = 0;
        statm >> size >> resident;
        figures.residentBytes = resident * sysconf(_SC_PAGESIZE);
        // The directory listing itself holds one descriptor while it runs.
        figures.openFiles = countEntries("/proc/self/fd") - 1;
        figures.threads = countEntries("/proc/self/task");
        return figures;
    }
    std::string describe() const {
        return "resident " + std::to_string(residentBytes / 1024) + " KiB, " + std::to_string(openFiles) +
               " open files, " + std::to_string(threads) + " threads";
    }
};

const int kInitExitCycles = 500;
const int kRecordings = 200;
const int kTicksPerRecording = 3;
const int kWarmUp = 100;  // lets the allocator (and ASan's quarantine) settle

#if defined(__SANITIZE_ADDRESS__)
#define NIMBREL_SOAK_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define NIMBREL_SOAK_ASAN 1
#endif
#endif
// Room for allocator noise (a plain build moves by well under 1 MiB): a
// leak of 10 kB per cycle passes it. ASan's allocator and quarantine move
// far more; there LeakSanitizer finds the leaks themselves.
#ifdef NIMBREL_SOAK_ASAN
const long long kResidentBound = 48ll * 1024 * 1024;
#else
const long long kResidentBound = 4ll * 1024 * 1024;
#endif
const int kOpenFilesBound = 2;

class Soak : public testsupport::CameraFixture {
protected:
    void expectNoGrowth(const std::string& what, const ProcessFigures& before, const ProcessFigures& after) {
        std::cout << "[soak] " << what << ": after warm-up " << before.describe() << "; at the end " << after.describe()
                  << "; resident " << (after.residentBytes >= before.residentBytes ? "+" : "")
                  << (after.residentBytes - before.residentBytes) / 1024 << " KiB\n";
        RecordProperty(what + "_resident_before_kib", static_cast<int>(before.residentBytes / 1024));
        RecordProperty(what + "_resident_after_kib", static_cast<int>(after.residentBytes / 1024));
        EXPECT_LE(after.residentBytes - before.residentBytes, kResidentBound);
        EXPECT_LE(after.openFiles - before.openFiles, kOpenFilesBound);
        EXPECT_LE(after.threads, before.threads);
    }
};

TEST_F(Soak, InitExitCycles) {
    ProcessFigures afterWarmUp;
    for (int cycle = 0; cycle < kInitExitCycles; ++cycle) {
        if (cycle == kWarmUp) afterWarmUp = ProcessFigures::now();
        camera()->init();
        ASSERT_NE(camera()->getActiveImage(), nullptr) << "cycle " << cycle;
        camera()->exit();
        ASSERT_EQ(ueye_sim::state().allocatedMemories, 0) << "cycle " << cycle;
    }
    expectNoGrowth("init_exit", afterWarmUp, ProcessFigures::now());
}

TEST_F(Soak, ShortRecordings) {
    testsupport::TempDir dir;
    const std::string file = dir.file("soak.avi");
    CameraListener listener;
    camera()->init();
    ProcessFigures afterWarmUp;
    for (int recording = 0; recording < kRecordings; ++recording) {
        if (recording == kWarmUp / 2) afterWarmUp = ProcessFigures::now();
        camera()->startRecording(&listener, file, 0, 25, 100, 25);
        for (int t = 0; t < kTicksPerRecording; ++t) testsupport::recordTick(camera());
        camera()->stopRecording();
        camera()->removeListener(&listener);
        ASSERT_EQ(ueye_sim::openAviInstances(), 0) << "recording " << recording;
    }
    const ProcessFigures atEnd = ProcessFigures::now();
    camera()->exit();
    EXPECT_GT(testsupport::fileSize(file), 0);
    expectNoGrowth("recordings", afterWarmUp, atEnd);
}

}  // namespace
}  // namespace soak
