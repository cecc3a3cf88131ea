#include "Options.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>
#include <map>
#include <type_traits>

namespace demo {

namespace {

constexpr double defaultRecordFps = 25.0;
constexpr const char* defaultSnapshot = "snapshot.jpg";
constexpr const char* defaultRecording = "demo.avi";

// from_chars ignores the process locale, so "12.5" always parses.
template <typename Number>
Number parseNumber(const std::string& option, const std::string& text) {
    Number value{};
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end)
        throw UsageError(option + " expects a number, not '" + text + "'");
    if constexpr (std::is_floating_point_v<Number>) {
        if (!std::isfinite(value)) throw UsageError(option + " expects a finite number, not '" + text + "'");
    }
    return value;
}

double positive(const std::string& option, double value) {
    if (value <= 0.0) throw UsageError(option + " must be greater than 0");
    return value;
}

FrameSize parseSize(const std::string& option, const std::string& text) {
    auto cross = text.find_first_of("xX");
    if (cross == std::string::npos) throw UsageError(option + " expects WIDTHxHEIGHT, not '" + text + "'");
    FrameSize size{parseNumber<int>(option, text.substr(0, cross)), parseNumber<int>(option, text.substr(cross + 1))};
    if (size.width <= 0 || size.height <= 0) throw UsageError(option + " needs a positive width and height");
    return size;
}

class Parser {
public:
    explicit Parser(DemoOptions& options) : options_(options) {
        flag("--help", [this] { options_.help = true; });
        flag("-h", [this] { options_.help = true; });
        flag("--optimize", [this] { options_.optimize = true; });
        flag("--save-preset", [this] { options_.savePreset = true; });
        flag("--reset-preset", [this] { options_.resetPreset = true; });
        valued("--camera", [this](const std::string& v) { options_.camera = v; });
        valued("--exposure", [this](const std::string& v) {
            options_.exposureMs = positive("--exposure", parseNumber<double>("--exposure", v));
        });
        valued("--gain", [this](const std::string& v) {
            int gain = parseNumber<int>("--gain", v);
            if (gain < 0) throw UsageError("--gain must not be negative");
            options_.masterGain = gain;
        });
        valued("--fps", [this](const std::string& v) {
            options_.frameRate = positive("--fps", parseNumber<double>("--fps", v));
        });
        valued("--aoi", [this](const std::string& v) { options_.aoi = parseSize("--aoi", v); });
        valued("--snapshot", [this](const std::string& v) { options_.snapshotPath = v; });
        valued("--record", [this](const std::string& v) { options_.recordPath = v; });
        valued("--seconds", [this](const std::string& v) {
            double seconds = parseNumber<double>("--seconds", v);
            if (seconds < 0.0) throw UsageError("--seconds must not be negative");
            options_.recordSeconds = seconds;
            recordingTuned_ = "--seconds";
        });
        valued("--max-size", [this](const std::string& v) {
            options_.maxSizeMb = positive("--max-size", parseNumber<double>("--max-size", v));
            recordingTuned_ = "--max-size";
        });
        valued("--replay", [this](const std::string& v) {
            long replay = parseNumber<long>("--replay", v);
            if (replay <= 0) throw UsageError("--replay must be greater than 0");
            options_.replayFps = replay;
            recordingTuned_ = "--replay";
        });
    }

    void parse(const std::vector<std::string>& args) {
        for (std::size_t i = 0; i < args.size(); ++i) {
            std::string name = args[i];
            std::optional<std::string> inlineValue;
            if (auto equals = name.find('='); name.rfind("--", 0) == 0 && equals != std::string::npos) {
                inlineValue = name.substr(equals + 1);
                name.resize(equals);
            }
            if (auto f = flags_.find(name); f != flags_.end()) {
                if (inlineValue) throw UsageError(name + " takes no value");
                f->second();
            } else if (auto v = valued_.find(name); v != valued_.end()) {
                if (!inlineValue && i + 1 >= args.size()) throw UsageError(name + " needs a value");
                v->second(inlineValue ? *inlineValue : args[++i]);
            } else {
                throw UsageError("unknown option '" + args[i] + "'");
            }
        }
        check();
    }

private:
    void flag(const std::string& name, std::function<void()> action) { flags_[name] = std::move(action); }
    void valued(const std::string& name, std::function<void(const std::string&)> action) {
        valued_[name] = std::move(action);
    }

    void check() {
        if (options_.help) return;
        if (options_.savePreset && options_.resetPreset)
            throw UsageError("--save-preset and --reset-preset cannot be used together");
        if (!recordingTuned_.empty() && !options_.recordPath && asksSomething())
            throw UsageError(recordingTuned_ + " only applies to a recording: add --record FILE");
        if (!asksSomething()) {
            options_.snapshotPath = defaultSnapshot;
            options_.recordPath = defaultRecording;
        }
    }

    bool asksSomething() const {
        const DemoOptions& o = options_;
        return o.exposureMs || o.masterGain || o.frameRate || o.aoi || o.optimize || o.savePreset ||
               o.resetPreset || o.snapshotPath || o.recordPath;
    }

    DemoOptions& options_;
    std::string recordingTuned_;
    std::map<std::string, std::function<void()>> flags_;
    std::map<std::string, std::function<void(const std::string&)>> valued_;
};

}  // namespace

double DemoOptions::recordFps() const { return frameRate.value_or(defaultRecordFps); }

long DemoOptions::replayRate() const {
    return replayFps.value_or(std::max(1L, std::lround(recordFps())));
}

DemoOptions parseOptions(const std::vector<std::string>& args) {
    DemoOptions options;
    Parser(options).parse(args);
    return options;
}

}  // namespace demo
