// Helpers of the configuration store tests: configuration files built in
// code, a fresh look at the saved file, message 64, and save counting.
#pragma once

#include <Nimbrel_model/Config.h>
#include <Qel/Qel.h>
#include <gtest/gtest.h>

#include "TestSupport.h"

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace configtest {

using Nimbrel_model::Config;
using Qel::Strings::hstring;

// One element line of a camera element: "      <name>text</name>".
std::string element(const std::string& name, const std::string& text);
// Every factory element, with fixed values (RedGain 11, Gamma 160, ...).
std::string factoryElements();
// The same without the element called `missing`.
std::string factoryWithout(const std::string& missing);
// A camera element called `name` holding `body`.
std::string camera(const std::string& name, const std::string& body);
// A whole file: `cameras` inside CameraSettings, then `rootExtra` under the root.
std::string document(const std::string& cameras, const std::string& rootExtra = "");
// A file with one camera, "CAM-1", holding the factory elements and `extra`.
std::string oneCamera(const std::string& extra = "");

extern const char* const kCamera;  // "CAM-1"

// Fixture: a fresh application folder per file, the Config singleton loaded from it.
class ConfigTest : public ::testing::Test {
protected:
    Config& use(const std::string& xml);
    Config& useShipped();
    std::string fileText() const { return app_->readConfig(); }
    std::string configPath() const { return app_->configPath(); }
    std::string resFolder() const { return app_->path() + "res"; }
    std::unique_ptr<testsupport::AppDir> app_;
};

// A fresh parse of the file, independent of the Config instance.
// The text of the element at `path` (names from below the root), or "(absent)".
std::string valueIn(const std::string& file, std::initializer_list<std::string> path);
std::string valueIn(const Qel::XML::XMLDoc& doc, std::initializer_list<std::string> path);
// The names of the children of the element at `path` (empty path: the root).
std::vector<std::string> childrenIn(const std::string& file, std::initializer_list<std::string> path);

// Success when `action` throws Qel::Exception with the text of message 64 and severity 10.
::testing::AssertionResult throwsMessage64(const std::function<void()>& action);
#define EXPECT_MSG64(statement) EXPECT_TRUE(::configtest::throwsMessage64([&] { statement; }))

// Lines of `before` missing from `after` and lines of `after` new to it, in order (LCS diff).
struct LineDiff {
    std::vector<std::string> removed;
    std::vector<std::string> added;
};
LineDiff diffLines(const std::string& before, const std::string& after);

// Counts the times a file in `folder` was written or replaced, by watching the folder.
class SaveCounter {
public:
    SaveCounter(const std::string& folder, const std::string& name);
    ~SaveCounter();
    SaveCounter(const SaveCounter&) = delete;
    SaveCounter& operator=(const SaveCounter&) = delete;
    // Saves since construction or the previous call.
    int take();

private:
    int fd_;
    std::string name_;
};

}  // namespace configtest
