#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <thread>
#include <vector>

#include "Qel/Qel.h"

using Qel::Strings::hstring;
using namespace Qel::HelperFuncs;

namespace {

std::string executableFolder() {
    char buffer[4096] = {};
    const ssize_t size = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    const std::string exe(buffer, size > 0 ? static_cast<std::size_t>(size) : 0);
    return exe.substr(0, exe.rfind('/') + 1);
}

// Puts the application folder back to the executable's after each test.
class AppDirTest : public ::testing::Test {
protected:
    void TearDown() override { setAppDir(""); }
};

TEST_F(AppDirTest, OverrideGetsATrailingSeparator) {
    setAppDir("/opt/host");
    EXPECT_EQ(getAppDir().str(), "/opt/host/");
    setAppDir("/opt/other/");
    EXPECT_EQ(getAppDir().str(), "/opt/other/");
    setAppDir("");
    EXPECT_EQ(getAppDir().str(), executableFolder()) << "an empty folder puts the default back";
}

TEST_F(AppDirTest, ConcurrentUseSeesWholeValues) {
    std::vector<std::thread> threads;
    std::vector<int> bad(4, 0);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t, &bad] {
            for (int i = 0; i < 2000; ++i) {
                if (t % 2 == 0) {
                    setAppDir(t == 0 ? "/first/folder" : "/second/folder/");
                } else {
                    const std::string dir = getAppDir().str();
                    if (dir != "/first/folder/" && dir != "/second/folder/" && dir != executableFolder()) {
                        ++bad[static_cast<std::size_t>(t)];
                    }
                }
            }
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(bad, std::vector<int>(4, 0));
}

TEST(NativePath, BackslashesBecomeSlashes) {
    EXPECT_EQ(toNativePath("res\\config.xml").str(), "res/config.xml");
    EXPECT_EQ(toNativePath("/app/res\\config.xml").str(), "/app/res/config.xml");
    EXPECT_EQ(toNativePath("a/b").str(), "a/b");
    EXPECT_EQ(toNativePath("").str(), "");
}

}  // namespace
