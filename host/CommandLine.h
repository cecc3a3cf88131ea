// The hosts' command lines: each host lists the options it has, the shared
// ones from SharedOptions.h and its own, and wxCmdLineParser parses them and
// writes the help. Values are checked here, the same way in every host: a
// number outside its range, an empty text or an unknown option is a usage
// error naming the option, before anything else happens.
#pragma once

#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

class wxCmdLineParser;

namespace host {

// A malformed command line; the host ends with exitStatus::kUsage.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class ValueKind { None, Text, Number, Whole };

// The values a number may take: from `low` (left out when lowExcluded) to `high`.
struct Range {
    double low = 0.0;
    double high = 0.0;
    bool lowExcluded = false;
};

struct OptionSpec {
    std::string name;  // as typed after "--"
    ValueKind kind = ValueKind::None;
    std::string value;  // what the value is called in the help, e.g. "FILE"
    std::string help;
    Range range;  // numbers only
    bool repeatable = false;

    static OptionSpec flag(std::string name, std::string help);
    // A text that must not be empty (a path, a name).
    static OptionSpec text(std::string name, std::string value, std::string help, bool repeatable = false);
    static OptionSpec number(std::string name, std::string value, std::string help, Range range);
    static OptionSpec whole(std::string name, std::string value, std::string help, Range range);
};

class ParsedOptions {
public:
    bool help = false;

    bool has(const std::string& name) const { return values_.count(name) != 0; }
    // The last value given; std::nullopt when the option is absent.
    std::optional<std::string> text(const std::string& name) const;
    std::optional<double> number(const std::string& name) const;
    // Every value of a repeatable option, in order.
    std::vector<std::string> all(const std::string& name) const;
    // UsageError when both are given.
    void refuseTogether(const std::string& first, const std::string& second) const;

private:
    friend class CommandLine;
    std::map<std::string, std::vector<std::string>> values_;
};

class CommandLine {
public:
    // `about` opens the help; `epilogue` closes it.
    CommandLine(std::string program, std::string about, std::string epilogue = "");

    // Options added after this appear under `title` in the help.
    CommandLine& section(const std::string& title);
    CommandLine& add(const OptionSpec& option);

    // Arguments without the program's name. UsageError for anything it
    // cannot take; `help` is set for --help (or -h), and nothing is checked then.
    ParsedOptions parse(const std::vector<std::string>& args) const;
    std::string usage() const;
    const std::string& program() const { return program_; }
    // The one line a host prints for a usage error.
    std::string usageLine(const std::string& problem) const;

private:
    struct Entry {
        std::string section;  // printed above the option when not empty
        OptionSpec option;
    };
    void describe(wxCmdLineParser& parser) const;
    const OptionSpec* find(const std::string& name) const;
    void refuseUnknown(const std::vector<std::string>& args) const;
    static void check(const OptionSpec& option, const std::string& value);

    std::string program_;
    std::string about_;
    std::string epilogue_;
    std::string nextSection_;
    std::vector<Entry> entries_;
};

}  // namespace host
