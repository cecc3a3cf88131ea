// Takes typed values off the front of a fuzzer's input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace fuzz {

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool empty() const { return size_ == 0; }
    // Up to `most` bytes, ended early by a NUL byte (which is consumed).
    std::string text(std::size_t most);
    // The rest of the input.
    std::string rest();

    template <typename T>
    T number() {
        T value{};
        const std::size_t n = size_ < sizeof value ? size_ : sizeof value;
        std::memcpy(&value, data_, n);
        take(n);
        return value;
    }

private:
    void take(std::size_t n) {
        data_ += n;
        size_ -= n;
    }
    const std::uint8_t* data_;
    std::size_t size_;
};

}  // namespace fuzz
