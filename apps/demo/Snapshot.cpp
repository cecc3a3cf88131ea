#include "Snapshot.h"

#include "LivePicture.h"

#include <turbojpeg.h>

#include <fstream>
#include <memory>
#include <stdexcept>

namespace demo {

namespace {

constexpr int jpegQuality = 90;

struct CompressorCloser {
    void operator()(void* handle) const { tjDestroy(handle); }
};
using Compressor = std::unique_ptr<void, CompressorCloser>;

struct JpegBufferFree {
    void operator()(unsigned char* buffer) const { tjFree(buffer); }
};
using JpegBuffer = std::unique_ptr<unsigned char, JpegBufferFree>;

}  // namespace

SnapshotInfo saveSnapshot(const Nimbrel_model::Camera& camera, const std::string& path) {
    // The area of interest sits at the top-left of a buffer whose lines are
    // the sensor's full width.
    SnapshotInfo info{camera.getWidth(), camera.getHeight(), 0};
    const int pitch = camera.getMaxWidth() * 3;
    const host::LivePicture picture(camera);
    if (!picture.pixels()) throw std::runtime_error("the camera returned no picture");

    Compressor compressor(tjInitCompress());
    if (!compressor) throw std::runtime_error(std::string("cannot start the JPEG encoder: ") + tjGetErrorStr2(nullptr));
    unsigned char* output = nullptr;
    unsigned long size = 0;
    int status = tjCompress2(compressor.get(), picture.pixels(), info.width, pitch, info.height, TJPF_RGB, &output,
                             &size, TJSAMP_420, jpegQuality, 0);
    JpegBuffer jpeg(output);
    if (status != 0) throw std::runtime_error(std::string("JPEG encoding failed: ") + tjGetErrorStr2(compressor.get()));

    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(jpeg.get()), static_cast<std::streamsize>(size));
    file.close();
    if (!file) throw std::runtime_error("cannot write the snapshot " + path);
    info.bytes = size;
    return info;
}

}  // namespace demo
