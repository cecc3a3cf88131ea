// A process killed in the middle of saving leaves a whole file: every value
// either the old or the new one, never a truncated or mixed-up file.
#include "ConfigElements.h"
#include "ConfigTestSupport.h"

#include <signal.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <memory>
#include <random>
#include <thread>

#ifndef NIMBREL_SAVE_LOOP
#error "NIMBREL_SAVE_LOOP must name the config_save_loop program"
#endif

namespace configtest {
namespace {

int killCount() {
    const char* text = std::getenv("NIMBREL_CRASH_KILLS");
    const int count = text ? std::atoi(text) : 0;
    return count > 0 ? count : 20;
}

// A save loop process, started at once; it saves only after go().
class SaveLoop {
public:
    explicit SaveLoop(const std::string& appFolder) : process_({NIMBREL_SAVE_LOOP, {appFolder}, "", {}}) {}
    // Lets it load the file and start saving; true once a whole round is on disk.
    bool go() {
        if (!process_.waitForOutput("waiting\n")) return false;
        process_.sendSignal(SIGUSR1);
        return process_.waitForOutput("ready\n");
    }
    // SIGKILL; returns the signal that ended the process (0 if it exited by itself).
    int kill() {
        process_.sendSignal(SIGKILL);
        const int status = process_.finish().status;
        return status < 0 ? -status : 0;
    }

private:
    testsupport::ChildProcess process_;
};

// The factory texts of every camera, as in the shipped file.
std::vector<std::string> factoryTexts(const Qel::XML::XMLDoc& doc) {
    std::vector<std::string> texts;
    for (const char* cam : configelements::kShippedCameras)
        for (const auto& factory : configelements::kFactory)
            texts.push_back(valueIn(doc, {"CameraSettings", cam, factory.name}));
    return texts;
}

long wholeIn(const Qel::XML::XMLDoc& doc, std::initializer_list<std::string> path) {
    const std::string text = valueIn(doc, path);
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    EXPECT_TRUE(!text.empty() && *end == '\0') << "not a whole number: \"" << text << "\"";
    return value;
}

TEST(ConfigCrash, KilledWhileSavingLeavesAWholeFile) {
    testsupport::AppDir app;
    const std::string file = app.configPath();
    const std::vector<std::string> factory = factoryTexts(Qel::XML::XMLDoc(file, true, false));
    ASSERT_EQ(factory.size(), std::size(configelements::kShippedCameras) * std::size(configelements::kFactory));
    for (const std::string& text : factory) ASSERT_NE(text, "(absent)");

    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<int> delayMs(1, 50);
    long previousRound = 0;
    const int kills = killCount();
    // A few processes start up ahead, waiting for their turn; only one saves at a time.
    std::deque<std::unique_ptr<SaveLoop>> waiting;
    int started = 0;
    for (int i = 0; i < kills; ++i) {
        SCOPED_TRACE("kill " + std::to_string(i + 1));
        while (started < kills && waiting.size() < 4) {
            waiting.push_back(std::make_unique<SaveLoop>(app.path()));
            ++started;
        }
        std::unique_ptr<SaveLoop> loop = std::move(waiting.front());
        waiting.pop_front();
        ASSERT_TRUE(loop->go()) << "the save loop did not start saving";
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs(random)));
        ASSERT_EQ(loop->kill(), SIGKILL) << "the save loop ended by itself";

        // Whatever the moment of the kill, the file parses and keeps every factory value.
        std::unique_ptr<Qel::XML::XMLDoc> doc;
        ASSERT_NO_THROW(doc = std::make_unique<Qel::XML::XMLDoc>(file, true, false)) << testsupport::readFile(file);
        ASSERT_EQ(factoryTexts(*doc), factory);

        // Each save holds one more step of the round: exposure k+0.25, then length k, then sizes k x 2k.
        const std::string exposureText = valueIn(*doc, {"CameraSettings", "SIM1280-C", "UserExposure"});
        const double exposure = std::strtod(exposureText.c_str(), nullptr);
        const long round = std::lround(exposure - 0.25);
        ASSERT_DOUBLE_EQ(exposure, round + 0.25) << exposureText;
        const long length = wholeIn(*doc, {"AviUserLength"});
        const long width = wholeIn(*doc, {"CameraSettings", "SIM1280-C", "UserWidth"});
        const long height = wholeIn(*doc, {"CameraSettings", "SIM1280-C", "UserHeight"});
        EXPECT_EQ(height, 2 * width);
        EXPECT_TRUE((length == round - 1 && width == round - 1) || (length == round && width == round - 1) ||
                    (length == round && width == round))
            << "exposure round " << round << ", length " << length << ", width " << width;
        // The run started from the previous round and finished at least one more.
        EXPECT_GT(length, previousRound);
        previousRound = length;
    }
    // One successful save clears what the killed saves left: the file alone remains.
    Qel::XML::XMLDoc(file, true, false).save("", true);
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(app.path() + "res"))
        names.push_back(entry.path().filename());
    EXPECT_EQ(names, std::vector<std::string>{"config.xml"});
}

}  // namespace
}  // namespace configtest
