// Text for numbers, sizes and paths, independent of the process locale.
#pragma once

#include <cstdint>
#include <string>

namespace host {

// Up to six significant digits, no trailing zeros: 15.5, 25, 0.0125.
std::string number(double value);
// A fixed number of decimals: 2.0, 24.93.
std::string fixed(double value, int decimals);
// Megabytes of 1024 x 1024 bytes, as the recording size limit counts them.
double toMegabytes(std::uintmax_t bytes);
std::string megabytes(std::uintmax_t bytes);
// The path made absolute against the current directory.
std::string absolutePath(const std::string& path);

}  // namespace host
