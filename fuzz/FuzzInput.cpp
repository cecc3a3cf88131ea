#include "FuzzInput.h"

namespace fuzz {

std::string FuzzInput::text(std::size_t most) {
    std::string out;
    while (size_ > 0 && out.size() < most) {
        const char c = static_cast<char>(*data_);
        take(1);
        if (c == '\0') break;
        out += c;
    }
    return out;
}

std::string FuzzInput::rest() {
    std::string out(reinterpret_cast<const char*>(data_), size_);
    take(size_);
    return out;
}

}  // namespace fuzz
