#include "ConfigTestSupport.h"

#include "ConfigElements.h"
#include "ueye.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

namespace configtest {

const char* const kCamera = "CAM-1";

std::string element(const std::string& name, const std::string& text) {
    return "      <" + name + ">" + text + "</" + name + ">\n";
}

namespace {
// In the order of the shared element list.
const std::string kFactoryTexts[] = {
    "7", "11", "12", "13", "false", "100", "12.5", "30", "160", "true", "5", std::to_string(IS_CM_RGB8_PACKED), "1"};
static_assert(std::size(kFactoryTexts) == std::size(configelements::kFactory));
}  // namespace

std::string factoryWithout(const std::string& missing) {
    std::string body;
    for (size_t i = 0; i < std::size(kFactoryTexts); ++i)
        if (missing != configelements::kFactory[i].name)
            body += element(configelements::kFactory[i].name, kFactoryTexts[i]);
    return body;
}

std::string factoryElements() { return factoryWithout(""); }

std::string camera(const std::string& name, const std::string& body) {
    return "    <" + name + ">\n" + body + "    </" + name + ">\n";
}

std::string document(const std::string& cameras, const std::string& rootExtra) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Settings>\n  <CameraSettings>\n" + cameras +
           "  </CameraSettings>\n" + rootExtra + "</Settings>\n";
}

std::string oneCamera(const std::string& extra) { return document(camera(kCamera, factoryElements() + extra)); }

Config& ConfigTest::use(const std::string& xml) {
    app_.reset();  // its folder stops being the application folder first
    app_ = std::make_unique<testsupport::AppDir>(xml);
    Config& config = *Config::getInstance();
    config.load();
    return config;
}

Config& ConfigTest::useShipped() { return use(testsupport::shippedConfig()); }

namespace {

Qel::XML::XMLNode walk(const Qel::XML::XMLDoc& doc, std::initializer_list<std::string> path) {
    Qel::XML::XMLNode node = doc.getRoot();
    for (const std::string& name : path) node = node.getChild(name, "");
    return node;
}

}  // namespace

std::string valueIn(const std::string& file, std::initializer_list<std::string> path) {
    return valueIn(Qel::XML::XMLDoc(file, true, false), path);
}

std::string valueIn(const Qel::XML::XMLDoc& doc, std::initializer_list<std::string> path) {
    Qel::XML::XMLNode node = walk(doc, path);
    return node.isNull() ? "(absent)" : node.getText().str();
}

std::vector<std::string> childrenIn(const std::string& file, std::initializer_list<std::string> path) {
    Qel::XML::XMLDoc doc(file, true, false);
    Qel::XML::XMLNode node = walk(doc, path);
    std::vector<std::string> names;
    for (int i = 0; i < node.getChildrenCount(); ++i) names.push_back(node.getChildAt(i).getName().str());
    return names;
}

::testing::AssertionResult throwsMessage64(const std::function<void()>& action) {
    try {
        action();
    } catch (const Qel::Exception& e) {
        const hstring expected = Qel::Strings::StringTable::get().getString("Nimbrel", 64);
        if (e.getMessage() == expected && e.getSeverity() == 10) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << "threw \"" << e.getMessage().str() << "\" with severity " << static_cast<int>(e.getSeverity())
               << ", expected \"" << expected.str() << "\" with severity 10";
    } catch (const std::exception& e) {
        return ::testing::AssertionFailure() << "threw a std::exception: " << e.what();
    }
    return ::testing::AssertionFailure() << "threw nothing";
}

LineDiff diffLines(const std::string& before, const std::string& after) {
    const std::vector<std::string> a = testsupport::lines(before);
    const std::vector<std::string> b = testsupport::lines(after);
    // Longest common subsequence table, from the ends.
    std::vector<std::vector<int>> lcs(a.size() + 1, std::vector<int>(b.size() + 1, 0));
    for (size_t i = a.size(); i-- > 0;)
        for (size_t j = b.size(); j-- > 0;)
            lcs[i][j] = a[i] == b[j] ? lcs[i + 1][j + 1] + 1 : std::max(lcs[i + 1][j], lcs[i][j + 1]);
    LineDiff diff;
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i] == b[j]) {
            ++i;
            ++j;
        } else if (lcs[i + 1][j] >= lcs[i][j + 1]) {
            diff.removed.push_back(a[i++]);
        } else {
            diff.added.push_back(b[j++]);
        }
    }
    while (i < a.size()) diff.removed.push_back(a[i++]);
    while (j < b.size()) diff.added.push_back(b[j++]);
    return diff;
}

SaveCounter::SaveCounter(const std::string& folder, const std::string& name)
    : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)), name_(name) {
    if (fd_ < 0 || inotify_add_watch(fd_, folder.c_str(), IN_CLOSE_WRITE | IN_MOVED_TO) < 0)
        throw std::runtime_error("cannot watch " + folder);
}

SaveCounter::~SaveCounter() { close(fd_); }

int SaveCounter::take() {
    // A save either rewrites the file (closed after writing) or renames a
    // finished copy over it; either event counts once.
    int saves = 0;
    alignas(inotify_event) char buffer[8192];
    for (;;) {
        const ssize_t n = read(fd_, buffer, sizeof buffer);
        if (n <= 0) break;
        for (ssize_t at = 0; at < n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            if (event->len > 0 && name_ == event->name) ++saves;
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
    return saves;
}

}  // namespace configtest
