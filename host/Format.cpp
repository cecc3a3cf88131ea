#include "Format.h"

#include <filesystem>
#include <iomanip>
#include <locale>
#include <sstream>

namespace host {

namespace {

std::ostringstream classicStream() {
    std::ostringstream out;
    out.imbue(std::locale::classic());
    return out;
}

}  // namespace

std::string number(double value) {
    auto out = classicStream();
    out << std::setprecision(6) << value;
    return out.str();
}

std::string fixed(double value, int decimals) {
    auto out = classicStream();
    out << std::fixed << std::setprecision(decimals) << value;
    return out.str();
}

double toMegabytes(std::uintmax_t bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

std::string megabytes(std::uintmax_t bytes) { return fixed(toMegabytes(bytes), 1) + " MB"; }

std::string absolutePath(const std::string& path) {
    std::error_code ignored;
    auto absolute = std::filesystem::absolute(path, ignored);
    return absolute.empty() ? path : absolute.lexically_normal().string();
}

}  // namespace host
