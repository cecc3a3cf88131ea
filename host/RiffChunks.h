// A flat walk over the chunks of a RIFF file (AVI), also one still being
// written: RIFF and LIST containers are entered rather than skipped, so
// their sizes, which writers patch in only at the end, are never needed.
#pragma once

#include <cstdint>
#include <functional>
#include <istream>
#include <string>

namespace host {

struct RiffChunk {
    std::string id;            // four characters, e.g. "00dc", "avih", "LIST"
    std::string listType;      // for RIFF and LIST: "AVI ", "hdrl", "movi"...
    std::uint64_t dataOffset;  // first byte after the chunk's header
    std::uint32_t size;        // bytes of data (for containers: as written so far)

    bool isContainer() const { return id == "RIFF" || id == "LIST"; }
    // A compressed or uncompressed video frame of any stream ("00dc").
    bool isVideoFrame() const;
};

// Visits the complete chunks from byte `from` on, in file order, until
// visit returns false or the file holds no further complete chunk. Returns
// the offset of the first chunk not visited, to carry on from later.
std::uint64_t walkRiffChunks(const std::string& path, std::uint64_t from,
                             const std::function<bool(const RiffChunk&, std::istream&)>& visit);

// A little-endian 32-bit value at `offset`, or false when the file is shorter.
bool readLe32(std::istream& in, std::uint64_t offset, std::uint32_t& value);

}  // namespace host
