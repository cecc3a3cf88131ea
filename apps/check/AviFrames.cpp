#include "AviFrames.h"

#include "RiffChunks.h"
#include "Session.h"

#include <turbojpeg.h>

#include <memory>

namespace check {

namespace {

struct DecompressorCloser {
    void operator()(void* handle) const { tjDestroy(handle); }
};

}  // namespace

int decodeAviFrames(const std::string& path, const std::function<void(const DecodedFrame&)>& visit) {
    const std::unique_ptr<void, DecompressorCloser> decoder(tjInitDecompress());
    if (!decoder) throw CheckFailure(std::string("cannot start the JPEG decoder: ") + tjGetErrorStr2(nullptr));
    std::vector<unsigned char> jpeg;
    std::vector<unsigned char> rgb;
    int index = 0;
    std::string failure;
    host::walkRiffChunks(path, 0, [&](const host::RiffChunk& chunk, std::istream& in) {
        if (!chunk.isVideoFrame()) return true;
        jpeg.resize(chunk.size);
        in.clear();
        in.seekg(static_cast<std::streamoff>(chunk.dataOffset));
        int width = 0, height = 0, subsampling = 0, colorspace = 0;
        if (!in.read(reinterpret_cast<char*>(jpeg.data()), static_cast<std::streamsize>(jpeg.size())) ||
            tjDecompressHeader3(decoder.get(), jpeg.data(), jpeg.size(), &width, &height, &subsampling, &colorspace) !=
                0) {
            failure = "frame " + std::to_string(index + 1) + " of " + path + " is not a JPEG picture";
            return false;
        }
        rgb.resize(static_cast<std::size_t>(width) * height * 3);
        if (tjDecompress2(decoder.get(), jpeg.data(), jpeg.size(), rgb.data(), width, 0, height, TJPF_RGB, 0) != 0) {
            failure = "frame " + std::to_string(index + 1) + " of " + path +
                      " does not decode: " + tjGetErrorStr2(decoder.get());
            return false;
        }
        visit(DecodedFrame{rgb.data(), width, height, index});
        ++index;
        return true;
    });
    if (!failure.empty()) throw CheckFailure(failure);
    return index;
}

std::vector<std::uint64_t> aviFrameEnds(const std::string& path) {
    std::vector<std::uint64_t> ends;
    host::walkRiffChunks(path, 0, [&](const host::RiffChunk& chunk, std::istream&) {
        if (chunk.isVideoFrame()) ends.push_back(chunk.dataOffset + chunk.size + (chunk.size & 1u));
        return true;
    });
    return ends;
}

}  // namespace check
