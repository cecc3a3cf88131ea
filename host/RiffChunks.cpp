#include "RiffChunks.h"

#include <cctype>
#include <fstream>

namespace host {

namespace {

constexpr std::uint64_t headerBytes = 8;
constexpr std::uint64_t containerHeaderBytes = 12;

bool readFourCc(std::istream& in, std::uint64_t offset, std::string& text) {
    char bytes[4];
    in.clear();
    in.seekg(static_cast<std::streamoff>(offset));
    if (!in.read(bytes, sizeof bytes)) return false;
    text.assign(bytes, sizeof bytes);
    // Zeros or other bytes that no chunk id holds: not written yet.
    for (char c : text)
        if (!std::isprint(static_cast<unsigned char>(c))) return false;
    return true;
}

}  // namespace

bool RiffChunk::isVideoFrame() const {
    auto digit = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; };
    return id.size() == 4 && digit(id[0]) && digit(id[1]) &&
           (id.compare(2, 2, "dc") == 0 || id.compare(2, 2, "db") == 0);
}

bool readLe32(std::istream& in, std::uint64_t offset, std::uint32_t& value) {
    unsigned char bytes[4];
    in.clear();
    in.seekg(static_cast<std::streamoff>(offset));
    if (!in.read(reinterpret_cast<char*>(bytes), sizeof bytes)) return false;
    value = static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
            static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
    return true;
}

std::uint64_t walkRiffChunks(const std::string& path, std::uint64_t from,
                             const std::function<bool(const RiffChunk&, std::istream&)>& visit) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return from;
    in.seekg(0, std::ios::end);
    const auto fileSize = static_cast<std::uint64_t>(in.tellg());

    std::uint64_t offset = from;
    while (offset + headerBytes <= fileSize) {
        RiffChunk chunk;
        if (!readFourCc(in, offset, chunk.id) || !readLe32(in, offset + 4, chunk.size)) break;
        std::uint64_t next;
        if (chunk.isContainer()) {
            if (offset + containerHeaderBytes > fileSize || !readFourCc(in, offset + 8, chunk.listType)) break;
            chunk.dataOffset = offset + containerHeaderBytes;
            next = chunk.dataOffset;  // step inside
        } else {
            chunk.dataOffset = offset + headerBytes;
            next = chunk.dataOffset + chunk.size + (chunk.size & 1u);  // data is padded to an even length
            if (chunk.dataOffset + chunk.size > fileSize) break;       // not all written yet
        }
        if (!visit(chunk, in)) break;
        offset = next;
    }
    return offset;
}

}  // namespace host
