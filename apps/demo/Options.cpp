#include "Options.h"

#include <wx/cmdline.h>
#include <wx/msgout.h>

#include <algorithm>
#include <charconv>
#include <cmath>
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

// The options in the order --help lists them; `value` names what a valued
// option takes (empty for a switch). Numbers are read here rather than by
// wxCmdLineParser so that they never depend on the process locale.
struct OptionSpec {
    const char* section;  // printed above the option when not null
    const char* name;
    const char* value;
    const char* help;
};

constexpr OptionSpec kOptions[] = {
    {"Camera:", "camera", "NAME",
     "simulated camera to connect before opening it (SIM1280-C, SIM1280-M, SIM2592-C, SIM4912-M; the environment "
     "variable UESIM_CAMERA chooses it too)"},
    {"Settings (each prints the value the camera reports afterwards):", "aoi", "WxH",
     "area of interest, e.g. 640x480 (centred by the camera)"},
    {nullptr, "fps", "F", "camera frame rate, and the recording rate (default 25)"},
    {nullptr, "exposure", "MS", "exposure time in milliseconds"},
    {nullptr, "gain", "N", "master gain; the colour gains stay as they are"},
    {nullptr, "optimize", "",
     "let the camera pick its best pixel clock and frame rate (runs on a worker thread; the demo waits for its end)"},
    {nullptr, "save-preset", "", "store the settings as this camera's user preset"},
    {nullptr, "reset-preset", "", "delete the user preset and reopen the camera with the factory values"},
    {"Output:", "snapshot", "FILE", "save the live picture as a JPEG file"},
    {nullptr, "record", "FILE", "record an AVI file (Motion JPEG)"},
    {nullptr, "seconds", "N", "recording length in seconds (default 5; 0: until the size limit or Ctrl-C)"},
    {nullptr, "max-size", "MB", "recording size limit in megabytes (default 1024)"},
    {nullptr, "replay", "R", "playback frame rate written into the file (default: the recording rate)"},
};

const OptionSpec* findOption(const std::string& name) {
    for (const OptionSpec& option : kOptions)
        if (name == std::string("--") + option.name) return &option;
    return nullptr;
}

// wxCmdLineParser names an unknown option in its own words; the demo's
// messages name it as typed. Values of valued options are skipped.
void refuseUnknown(const std::vector<std::string>& args) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const std::string name = arg.substr(0, arg.find('='));
        if (name == "--help" || name == "-h") continue;
        const OptionSpec* option = findOption(name);
        if (!option) throw UsageError("unknown option '" + arg + "'");
        if (*option->value && name == arg) ++i;
    }
}

// Collects what wxCmdLineParser would print about a malformed command line.
class CollectedOutput : public wxMessageOutput {
public:
    CollectedOutput() : previous_(wxMessageOutput::Set(this)) {}
    ~CollectedOutput() override { wxMessageOutput::Set(previous_); }
    void Output(const wxString& text) override { text_ += text.utf8_string(); }
    std::string text() const { return text_.substr(0, text_.find_last_not_of(" \n") + 1); }

private:
    wxMessageOutput* previous_;
    std::string text_;
};

void apply(DemoOptions& options, const std::string& name, const std::string& v, std::string& recordingTuned) {
    const std::string option = "--" + name;
    if (name == "optimize") {
        options.optimize = true;
    } else if (name == "save-preset") {
        options.savePreset = true;
    } else if (name == "reset-preset") {
        options.resetPreset = true;
    } else if (name == "camera") {
        options.camera = v;
    } else if (name == "exposure") {
        options.exposureMs = positive(option, parseNumber<double>(option, v));
    } else if (name == "fps") {
        options.frameRate = positive(option, parseNumber<double>(option, v));
    } else if (name == "aoi") {
        options.aoi = parseSize(option, v);
    } else if (name == "snapshot") {
        options.snapshotPath = v;
    } else if (name == "record") {
        options.recordPath = v;
    } else if (name == "gain") {
        const int gain = parseNumber<int>(option, v);
        if (gain < 0) throw UsageError("--gain must not be negative");
        options.masterGain = gain;
    } else if (name == "seconds") {
        const double seconds = parseNumber<double>(option, v);
        if (seconds < 0.0) throw UsageError("--seconds must not be negative");
        options.recordSeconds = seconds;
        recordingTuned = option;
    } else if (name == "max-size") {
        options.maxSizeMb = positive(option, parseNumber<double>(option, v));
        recordingTuned = option;
    } else if (name == "replay") {
        const long replay = parseNumber<long>(option, v);
        if (replay <= 0) throw UsageError("--replay must be greater than 0");
        options.replayFps = replay;
        recordingTuned = option;
    }
}

bool asksSomething(const DemoOptions& o) {
    return o.exposureMs || o.masterGain || o.frameRate || o.aoi || o.optimize || o.savePreset || o.resetPreset ||
           o.snapshotPath || o.recordPath;
}

void check(DemoOptions& options, const std::string& recordingTuned) {
    if (options.help) return;
    if (options.savePreset && options.resetPreset)
        throw UsageError("--save-preset and --reset-preset cannot be used together");
    if (!recordingTuned.empty() && !options.recordPath && asksSomething(options))
        throw UsageError(recordingTuned + " only applies to a recording: add --record FILE");
    if (!asksSomething(options)) {
        options.snapshotPath = defaultSnapshot;
        options.recordPath = defaultRecording;
    }
}

// The command line as wxCmdLineParser takes it, the program name first.
class Arguments {
public:
    explicit Arguments(const std::vector<std::string>& args) {
        texts_.push_back("nimbrel-demo");
        for (const std::string& arg : args) texts_.push_back(wxString::FromUTF8(arg));
        for (wxString& text : texts_) pointers_.push_back(const_cast<wxChar*>(text.wc_str()));
    }
    void give(wxCmdLineParser& parser) { parser.SetCmdLine(static_cast<int>(pointers_.size()), pointers_.data()); }

private:
    std::vector<wxString> texts_;
    std::vector<wxChar*> pointers_;
};

}  // namespace

double DemoOptions::recordFps() const { return frameRate.value_or(defaultRecordFps); }

long DemoOptions::replayRate() const {
    return replayFps.value_or(std::max(1L, std::lround(recordFps())));
}

void describeOptions(wxCmdLineParser& parser) {
    parser.SetLogo(
        "Opens the camera, prints its sensor and current settings, applies what the\n"
        "options ask, and can save a snapshot and record an AVI file.\n\n"
        "Without options it opens the default camera, saves snapshot.jpg and records a\n"
        "5-second demo.avi at 25 frames per second in the current directory.\n");
    parser.SetSwitchChars("-");
    for (const OptionSpec& option : kOptions) {
        if (option.section) parser.AddUsageText(wxString("\n") + option.section);
        const wxString help = wxString::FromUTF8(option.help);
        if (*option.value)
            parser.AddLongOption(option.name, wxString(option.value) + ": " + help);
        else
            parser.AddLongSwitch(option.name, help);
    }
    parser.AddSwitch("h", "help", "show this help", wxCMD_LINE_OPTION_HELP);
}

DemoOptions parseOptions(const std::vector<std::string>& args) {
    refuseUnknown(args);
    DemoOptions options;
    wxCmdLineParser parser;
    describeOptions(parser);
    Arguments arguments(args);
    arguments.give(parser);
    int result = 0;
    std::string problem;
    {
        CollectedOutput output;
        result = parser.Parse(false);
        problem = output.text();
    }
    if (result == -1) {
        options.help = true;
        return options;
    }
    if (result != 0) throw UsageError(problem.empty() ? "malformed command line" : problem);
    std::string recordingTuned;
    for (const OptionSpec& option : kOptions) {
        wxString value;
        if (*option.value ? parser.Found(option.name, &value) : parser.Found(option.name))
            apply(options, option.name, value.utf8_string(), recordingTuned);
    }
    check(options, recordingTuned);
    return options;
}

}  // namespace demo
