// Where the hosts keep their settings: beside the tool while that can be
// written, else in a folder of the user's own seeded from the shipped file.
#include "SettingsFolder.h"
#include "SettingsLock.h"

#include "Files.h"

#include <Qel/Qel.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace testsupport {
namespace {

namespace fs = std::filesystem;

// XDG_CONFIG_HOME and HOME as a test sets them, put back afterwards.
class Environment {
public:
    Environment() : xdg_(get("XDG_CONFIG_HOME")), home_(get("HOME")) {}
    ~Environment() {
        put("XDG_CONFIG_HOME", xdg_);
        put("HOME", home_);
    }
    static void put(const char* name, const std::string& value) {
        if (value.empty())
            unsetenv(name);
        else
            setenv(name, value.c_str(), 1);
    }

private:
    static std::string get(const char* name) {
        const char* value = std::getenv(name);
        return value ? value : "";
    }
    std::string xdg_;
    std::string home_;
};

struct UserFolderCase {
    std::string xdg;  // "@" stands for the test's folder
    std::string home;
    std::string expected;
};

void PrintTo(const UserFolderCase& row, std::ostream* out) {
    *out << "XDG_CONFIG_HOME '" << row.xdg << "', HOME '" << row.home << "'";
}

class UserFolder : public ::testing::TestWithParam<UserFolderCase> {};

TEST_P(UserFolder, FollowsXdgThenHome) {
    Environment environment;
    TempDir dir;
    auto at = [&](std::string text) { return text.empty() || text[0] != '@' ? text : dir.path() + text.substr(1); };
    Environment::put("XDG_CONFIG_HOME", at(GetParam().xdg));
    Environment::put("HOME", at(GetParam().home));
    EXPECT_EQ(host::userSettingsFolder(), at(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Cases, UserFolder,
                         ::testing::Values(UserFolderCase{"@xdg", "@home", "@xdg/nimbrel-model/"},
                                           UserFolderCase{"@xdg/", "", "@xdg/nimbrel-model/"},
                                           UserFolderCase{"relative/xdg", "@home", "@home/.config/nimbrel-model/"},
                                           UserFolderCase{"", "@home/", "@home/.config/nimbrel-model/"}));

// A tool's folder in the packaged layout (no res/ beside it, the shipped
// file under share/) and a user whose settings live in the test's folder.
class Choice : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(root.path() + "lib/nimbrel-model");
        fs::create_directories(root.path() + "share/nimbrel-model");
        writeFile(shipped(), "<Config>shipped</Config>");
        Environment::put("XDG_CONFIG_HOME", root.path() + "user");
    }
    std::string tool() const { return root.path() + "lib/nimbrel-model/"; }
    std::string shipped() const { return root.path() + "share/nimbrel-model/config.xml"; }
    std::string userConfig() const { return root.path() + "user/nimbrel-model/res/config.xml"; }

    Environment environment;
    TempDir root;
};

TEST_F(Choice, PackagedToolSeedsTheUserFolderOnceAndNeverWritesTheShippedFile) {
    const host::SettingsFolder first = host::chooseSettingsFolder(std::nullopt, tool());
    EXPECT_EQ(first.path, root.path() + "user/nimbrel-model/");
    EXPECT_TRUE(first.perUser);
    EXPECT_EQ(fs::weakly_canonical(first.seededFrom), fs::weakly_canonical(shipped()));
    EXPECT_NE(host::seededNotice(first).find(userConfig()), std::string::npos);
    // The true reason, also for root, who could write the tool's folder.
    EXPECT_NE(host::seededNotice(first).find("there is no readable " + tool() + "res/config.xml"), std::string::npos);
    EXPECT_EQ(readFile(userConfig()), "<Config>shipped</Config>");

    writeFile(userConfig(), "<Config>saved by the user</Config>");
    const host::SettingsFolder again = host::chooseSettingsFolder(std::nullopt, tool());
    EXPECT_EQ(again.seededFrom, "");
    EXPECT_EQ(host::seededNotice(again), "");
    EXPECT_EQ(readFile(userConfig()), "<Config>saved by the user</Config>");
    EXPECT_EQ(readFile(shipped()), "<Config>shipped</Config>");
}

TEST_F(Choice, WritableFolderBesideTheToolIsUsedAndAppDirOverridesBoth) {
    fs::create_directories(tool() + "res");
    writeFile(tool() + "res/config.xml", "<Config>beside</Config>");
    const host::SettingsFolder beside = host::chooseSettingsFolder(std::nullopt, tool().substr(0, tool().size() - 1));
    EXPECT_EQ(beside.path, tool());
    EXPECT_FALSE(beside.perUser);
    EXPECT_FALSE(fileExists(userConfig()));

    const host::SettingsFolder chosen = host::chooseSettingsFolder(std::string("/elsewhere"), tool());
    EXPECT_EQ(chosen.path, "/elsewhere/");
    EXPECT_FALSE(chosen.perUser);
}

// The running program's folder decides, not one an earlier run left set.
TEST_F(Choice, UseLooksBesideTheRunningProgram) {
    fs::create_directories(tool() + "res");
    writeFile(tool() + "res/config.xml", "<Config>beside another tool</Config>");
    Qel::HelperFuncs::setAppDir(Qel::Strings::hstring(tool()));
    std::string used;
    try {
        used = host::useSettingsFolder(std::nullopt).path;
    } catch (const std::runtime_error&) {
    }
    EXPECT_NE(used, tool());
    Qel::HelperFuncs::setAppDir("");
}

TEST_F(Choice, NoShippedFileIsAnErrorThatNamesWhereItLooked) {
    fs::remove(shipped());
    try {
        host::chooseSettingsFolder(std::nullopt, tool());
        FAIL() << "no error";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find(userConfig()), std::string::npos) << error.what();
        EXPECT_NE(std::string(error.what()).find("share/nimbrel-model/config.xml"), std::string::npos) << error.what();
    }
    EXPECT_FALSE(fileExists(userConfig()));
}

// One writer per settings file: flock locks belong to an open file, so a
// second holder conflicts even inside one process.
TEST(SettingsLock, ASecondHolderIsReadOnlyNamesTheFirstAndGetsTheFileOnceItIsFree) {
    const TempDir folder;
    const std::string config = folder.file("config.xml");
    {
        const host::SettingsLock first(config, "nimbrel-viewer");
        const host::SettingsLock second(config, "nimbrel-demo");
        EXPECT_FALSE(first.readOnly());
        ASSERT_TRUE(second.readOnly());
        const std::string holder = "nimbrel-viewer (pid " + std::to_string(getpid()) + ")";
        EXPECT_EQ(second.holder(), holder);
        try {
            second.requireWritable("save the user preset");
            FAIL() << "saved";
        } catch (const std::runtime_error& error) {
            EXPECT_EQ(std::string(error.what()), "cannot save the user preset: " + config + " is in use by " + holder +
                                                     ", which may save it too; this one opened it read-only");
        }
    }
    EXPECT_FALSE(host::SettingsLock(config, "nimbrel-demo").readOnly());
    // A lock moved over another lets the other file go.
    const std::string other = folder.file("other.xml");
    host::SettingsLock held(config, "nimbrel-viewer");
    held = host::SettingsLock(other, "nimbrel-viewer");
    EXPECT_FALSE(host::SettingsLock(config, "nimbrel-demo").readOnly());
    EXPECT_TRUE(host::SettingsLock(other, "nimbrel-demo").readOnly());
}

}  // namespace
}  // namespace testsupport
