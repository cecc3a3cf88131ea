#include "Report.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <iomanip>
#include <sstream>

namespace check {

namespace {

std::size_t countOf(const Summary& summary, Verdict verdict) {
    std::size_t n = 0;
    for (const auto& result : summary.results) n += result.verdict == verdict ? 1 : 0;
    return n;
}

std::string jsonText(const std::string& text) {
    std::ostringstream out;
    out << '"';
    for (const unsigned char c : text) {
        if (c == '"' || c == '\\')
            out << '\\' << c;
        else if (c < 0x20)
            out << "\\u" << std::hex << std::setw(4) << std::setfill('0') << static_cast<int>(c) << std::dec;
        else
            out << c;
    }
    out << '"';
    return out.str();
}

bool progressShown = false;

}  // namespace

bool Summary::allPassed() const {
    return countOf(*this, Verdict::Fail) == 0 && restoreProblems.empty() && configUnchanged && !interrupted;
}

const char* verdictText(Verdict verdict) {
    switch (verdict) {
        case Verdict::Pass: return "PASS";
        case Verdict::Fail: return "FAIL";
        case Verdict::Skip: return "SKIP";
    }
    return "";
}

void printTable(const Summary& summary, std::ostream& out) {
    if (!summary.camera.empty()) out << "camera: " << summary.camera << "\n";
    std::size_t width = 16;
    for (const auto& result : summary.results) width = std::max(width, result.name.size());
    for (const auto& result : summary.results) {
        out << std::left << std::setw(static_cast<int>(width)) << result.name << " " << verdictText(result.verdict)
            << std::right << std::fixed << std::setprecision(2) << std::setw(8) << result.seconds << " s";
        if (!result.message.empty()) out << "  " << result.message;
        out << "\n";
    }
    out << summary.results.size() << " checks: " << countOf(summary, Verdict::Pass) << " passed, "
        << countOf(summary, Verdict::Fail) << " failed, " << countOf(summary, Verdict::Skip) << " skipped\n";
    if (summary.interrupted) out << "interrupted: the remaining checks did not run\n";
    if (!summary.restoreProblems.empty()) out << "could not put everything back: " << summary.restoreProblems << "\n";
    if (!summary.configUnchanged) out << "the configuration file changed during the run\n";
    out.flush();
}

void writeJson(const Summary& summary, std::ostream& out) {
    out << "{\n  \"camera\": " << jsonText(summary.camera) << ",\n  \"checks\": [";
    for (std::size_t i = 0; i < summary.results.size(); ++i) {
        const Result& r = summary.results[i];
        out << (i ? ",\n" : "\n") << "    {\"name\": " << jsonText(r.name) << R"(, "result": ")"
            << verdictText(r.verdict) << R"(", "seconds": )" << std::fixed << std::setprecision(3) << r.seconds
            << ", \"message\": " << jsonText(r.message) << "}";
    }
    out << "\n  ],\n  \"passed\": " << countOf(summary, Verdict::Pass)
        << ",\n  \"failed\": " << countOf(summary, Verdict::Fail)
        << ",\n  \"skipped\": " << countOf(summary, Verdict::Skip)
        << ",\n  \"interrupted\": " << (summary.interrupted ? "true" : "false")
        << ",\n  \"restored\": " << (summary.restoreProblems.empty() ? "true" : "false")
        << ",\n  \"restoreProblems\": " << jsonText(summary.restoreProblems)
        << ",\n  \"configUnchanged\": " << (summary.configUnchanged ? "true" : "false") << "\n}\n";
}

void showProgress(std::size_t index, std::size_t count, const std::string& name) {
    if (!isatty(STDERR_FILENO)) return;
    std::fprintf(stderr, "\r\033[K[%zu/%zu] %s ...", index + 1, count, name.c_str());
    std::fflush(stderr);
    progressShown = true;
}

void clearProgress() {
    if (!progressShown) return;
    std::fprintf(stderr, "\r\033[K");
    std::fflush(stderr);
    progressShown = false;
}

}  // namespace check
