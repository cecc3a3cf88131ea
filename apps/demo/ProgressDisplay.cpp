#include "ProgressDisplay.h"

#include "Format.h"

#include <algorithm>
#include <string>

namespace demo {

using host::fixed;
using host::megabytes;
using host::number;

namespace {

constexpr std::chrono::milliseconds terminalPeriod{200};
constexpr std::chrono::milliseconds plainPeriod{1000};
constexpr int barCells = 20;

// No rate until the file has grown twice.
std::string rate(double framesPerSecond) {
    return (framesPerSecond > 0.0 ? fixed(framesPerSecond, 1) : std::string("--")) + " fps";
}

}  // namespace

ProgressDisplay::ProgressDisplay(std::ostream& out, bool terminal, double targetSeconds)
    : out_(out), terminal_(terminal), targetSeconds_(targetSeconds), lastShown_(std::chrono::steady_clock::now()) {}

ProgressDisplay::~ProgressDisplay() { finish(); }

bool ProgressDisplay::due() const {
    // The bar appears at once; the first plain line a period in.
    if (terminal_ && !shownOnce_) return true;
    auto period = terminal_ ? terminalPeriod : plainPeriod;
    return std::chrono::steady_clock::now() - lastShown_ >= period;
}

void ProgressDisplay::show(const RecordingProgress& progress) {
    lastShown_ = std::chrono::steady_clock::now();
    shownOnce_ = true;
    if (terminal_) {
        std::string line = barLine(progress);
        // Blank out what a longer previous line left behind.
        std::size_t width = line.size();
        if (width < lastWidth_) line.append(lastWidth_ - width, ' ');
        lastWidth_ = width;
        out_ << '\r' << line << std::flush;
        lineOpen_ = true;
    } else {
        out_ << plainLine(progress) << std::endl;
    }
}

void ProgressDisplay::finish() {
    if (!lineOpen_) return;
    out_ << std::endl;
    lineOpen_ = false;
}

std::string ProgressDisplay::barLine(const RecordingProgress& p) const {
    std::string line;
    if (targetSeconds_ > 0.0) {
        int filled = static_cast<int>(barCells * std::clamp(p.recordedSeconds / targetSeconds_, 0.0, 1.0));
        line = "[" + std::string(filled, '#') + std::string(barCells - filled, '.') + "] " +
               fixed(p.recordedSeconds, 1) + "/" + number(targetSeconds_) + " s";
    } else {
        line = "recording " + fixed(p.recordedSeconds, 1) + " s";
    }
    return line + "  " + megabytes(p.fileBytes) + "  " + rate(p.framesPerSecond);
}

std::string ProgressDisplay::plainLine(const RecordingProgress& p) const {
    std::string recorded = fixed(p.recordedSeconds, 1) + (targetSeconds_ > 0.0 ? "/" + number(targetSeconds_) : "");
    return "progress: " + recorded + " s recorded, " + std::to_string(p.frames) + " frames, " + megabytes(p.fileBytes) +
           ", " + rate(p.framesPerSecond) + ", " + fixed(p.elapsedSeconds, 1) + " s elapsed";
}

}  // namespace demo
