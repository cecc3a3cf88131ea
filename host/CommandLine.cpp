#include "CommandLine.h"

#include "Format.h"

#include <wx/cmdline.h>
#include <wx/msgout.h>

#include <charconv>
#include <cmath>
#include <utility>

namespace host {

namespace {

// from_chars ignores the process locale, so "12.5" always reads.
template <typename Number>
bool read(const std::string& text, Number& value) {
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return !text.empty() && error == std::errc() && stop == end;
}

bool inRange(const Range& range, double value) {
    return std::isfinite(value) && (range.lowExcluded ? value > range.low : value >= range.low) && value <= range.high;
}

// Bounds are whole numbers or short decimals: never in exponent form.
std::string bound(double value) {
    return value == std::floor(value) ? std::to_string(static_cast<long long>(value)) : number(value);
}

std::string rangeText(const OptionSpec& option) {
    const Range& r = option.range;
    const std::string kind = option.kind == ValueKind::Whole ? "a whole number" : "a number";
    return kind + (r.lowExcluded ? " above " + bound(r.low) + " and up to " : " from " + bound(r.low) + " to ") +
           bound(r.high);
}

// What wxCmdLineParser would print about a malformed command line.
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

// The command line as wxCmdLineParser takes it, the program's name first.
class Arguments {
public:
    Arguments(const std::string& program, const std::vector<std::string>& args) {
        texts_.push_back(wxString::FromUTF8(program));
        for (const std::string& arg : args) texts_.push_back(wxString::FromUTF8(arg));
        for (wxString& text : texts_) pointers_.push_back(const_cast<wxChar*>(text.wc_str()));
    }
    void give(wxCmdLineParser& parser) { parser.SetCmdLine(static_cast<int>(pointers_.size()), pointers_.data()); }

private:
    std::vector<wxString> texts_;
    std::vector<wxChar*> pointers_;
};

}  // namespace

OptionSpec OptionSpec::flag(std::string name, std::string help) {
    return {std::move(name), ValueKind::None, "", std::move(help), {}, false};
}

OptionSpec OptionSpec::text(std::string name, std::string value, std::string help, bool repeatable) {
    return {std::move(name), ValueKind::Text, std::move(value), std::move(help), {}, repeatable};
}

OptionSpec OptionSpec::number(std::string name, std::string value, std::string help, Range range) {
    return {std::move(name), ValueKind::Number, std::move(value), std::move(help), range, false};
}

OptionSpec OptionSpec::whole(std::string name, std::string value, std::string help, Range range) {
    return {std::move(name), ValueKind::Whole, std::move(value), std::move(help), range, false};
}

std::optional<std::string> ParsedOptions::text(const std::string& name) const {
    const auto found = values_.find(name);
    if (found == values_.end()) return std::nullopt;
    return found->second.back();
}

std::optional<double> ParsedOptions::number(const std::string& name) const {
    const std::optional<std::string> value = text(name);
    double result = 0.0;
    if (!value || !read(*value, result)) return std::nullopt;
    return result;
}

std::vector<std::string> ParsedOptions::all(const std::string& name) const {
    const auto found = values_.find(name);
    return found == values_.end() ? std::vector<std::string>{} : found->second;
}

void ParsedOptions::refuseTogether(const std::string& first, const std::string& second) const {
    if (has(first) && has(second)) throw UsageError("--" + first + " and --" + second + " cannot be used together");
}

CommandLine::CommandLine(std::string program, std::string about, std::string epilogue)
    : program_(std::move(program)), about_(std::move(about)), epilogue_(std::move(epilogue)) {}

CommandLine& CommandLine::section(const std::string& title) {
    nextSection_ = title;
    return *this;
}

CommandLine& CommandLine::add(const OptionSpec& option) {
    entries_.push_back({std::exchange(nextSection_, std::string()), option});
    return *this;
}

const OptionSpec* CommandLine::find(const std::string& name) const {
    for (const Entry& entry : entries_)
        if (name == "--" + entry.option.name) return &entry.option;
    return nullptr;
}

void CommandLine::describe(wxCmdLineParser& parser) const {
    parser.SetLogo(wxString::FromUTF8(about_));
    parser.SetSwitchChars("-");
    for (const Entry& entry : entries_) {
        const OptionSpec& option = entry.option;
        if (!entry.section.empty()) parser.AddUsageText(wxString::FromUTF8("\n" + entry.section));
        const wxString help = wxString::FromUTF8(option.help);
        if (option.kind == ValueKind::None)
            parser.AddLongSwitch(option.name, help);
        else
            parser.AddLongOption(option.name, wxString::FromUTF8(option.value + ": ") + help, wxCMD_LINE_VAL_STRING,
                                 option.repeatable ? wxCMD_LINE_PARAM_MULTIPLE : 0);
    }
    parser.AddSwitch("h", "help", "show this help", wxCMD_LINE_OPTION_HELP);
}

// wxCmdLineParser names an unknown option in its own words; the hosts name
// it as typed. The values of valued options are skipped.
void CommandLine::refuseUnknown(const std::vector<std::string>& args) const {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const std::string name = arg.substr(0, arg.find('='));
        if (name == "--help" || name == "-h") continue;
        const OptionSpec* option = find(name);
        if (!option) throw UsageError("unknown option '" + arg + "'");
        if (option->kind != ValueKind::None && name == arg) ++i;
    }
}

void CommandLine::check(const OptionSpec& option, const std::string& value) {
    const std::string name = "--" + option.name;
    if (option.kind == ValueKind::Text) {
        if (value.empty()) throw UsageError(name + " needs a " + option.value + ", not an empty text");
        return;
    }
    bool number = false;
    double result = 0.0;
    if (option.kind == ValueKind::Whole) {
        long whole = 0;
        number = read(value, whole);
        result = static_cast<double>(whole);
    } else {
        number = read(value, result);
    }
    if (!number || !inRange(option.range, result))
        throw UsageError(name + " takes " + rangeText(option) + ", not '" + value + "'");
}

ParsedOptions CommandLine::parse(const std::vector<std::string>& args) const {
    refuseUnknown(args);
    wxCmdLineParser parser;
    describe(parser);
    Arguments arguments(program_, args);
    arguments.give(parser);
    int result = 0;
    std::string problem;
    {
        CollectedOutput output;
        result = parser.Parse(false);
        problem = output.text();
    }
    ParsedOptions parsed;
    if (result == -1) {
        parsed.help = true;
        return parsed;
    }
    if (result != 0) throw UsageError(problem.empty() ? "malformed command line" : problem);
    for (const wxCmdLineArg& arg : parser.GetArguments()) {
        const OptionSpec* option = find("--" + arg.GetLongName().utf8_string());
        if (!option) continue;  // --help
        const std::string value = option->kind == ValueKind::None ? "" : arg.GetStrVal().utf8_string();
        if (option->kind != ValueKind::None) check(*option, value);
        parsed.values_[option->name].push_back(value);
    }
    return parsed;
}

std::string CommandLine::usage() const {
    wxCmdLineParser parser;
    describe(parser);
    Arguments arguments(program_, {});
    arguments.give(parser);
    return parser.GetUsageString().utf8_string() + epilogue_;
}

std::string CommandLine::usageLine(const std::string& problem) const {
    std::string line = program_ + ": " + problem + "; see " + program_ + " --help";
    for (char& c : line)
        if (c == '\n') c = ' ';
    return line;
}

}  // namespace host
