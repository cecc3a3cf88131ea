#include "Snapshot.h"

#include "LivePicture.h"
#include "WriteProbe.h"

#include <png.h>
#include <turbojpeg.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
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

std::size_t fileBytes(const std::string& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    return error ? 0 : static_cast<std::size_t>(size);
}

void writeFailed(const std::string& path, bool created) {
    if (created) std::remove(path.c_str());  // no half picture left behind
    host::explainWriteFailure("snapshot", path, "");
    throw std::runtime_error("cannot write the snapshot " + path);
}

void savePng(const unsigned char* pixels, int pitch, SnapshotInfo& info, const std::string& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(info.width);
    image.height = static_cast<png_uint_32>(info.height);
    image.format = PNG_FORMAT_RGB;
    const bool existed = std::filesystem::exists(path);
    if (!png_image_write_to_file(&image, path.c_str(), 0, pixels, pitch, nullptr)) {
        png_image_free(&image);
        writeFailed(path, !existed);
    }
    info.format = "PNG";
}

}  // namespace

std::optional<PictureFormat> pictureFormatFor(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".png") return PictureFormat::Png;
    if (extension == ".jpg" || extension == ".jpeg") return PictureFormat::Jpeg;
    return std::nullopt;
}

SnapshotInfo saveSnapshot(const Nimbrel_model::Camera& camera, const std::string& path) {
    // The area of interest sits at the top-left of a buffer whose lines are
    // the sensor's full width.
    SnapshotInfo info{camera.getWidth(), camera.getHeight(), 0};
    const int pitch = camera.getMaxWidth() * 3;
    const host::LivePicture picture(camera);
    if (!picture.pixels()) throw std::runtime_error("the camera returned no picture");
    if (pictureFormatFor(path) == PictureFormat::Png) {
        savePng(picture.pixels(), pitch, info, path);
        info.bytes = fileBytes(path);
        return info;
    }

    Compressor compressor(tjInitCompress());
    if (!compressor) throw std::runtime_error(std::string("cannot start the JPEG encoder: ") + tjGetErrorStr2(nullptr));
    unsigned char* output = nullptr;
    unsigned long size = 0;
    int status = tjCompress2(compressor.get(), picture.pixels(), info.width, pitch, info.height, TJPF_RGB, &output,
                             &size, TJSAMP_420, jpegQuality, 0);
    JpegBuffer jpeg(output);
    if (status != 0) throw std::runtime_error(std::string("JPEG encoding failed: ") + tjGetErrorStr2(compressor.get()));

    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    const bool opened = file.is_open();
    file.write(reinterpret_cast<const char*>(jpeg.get()), static_cast<std::streamsize>(size));
    file.close();
    if (!file) writeFailed(path, opened);
    info.bytes = size;
    info.format = "JPEG";
    return info;
}

}  // namespace demo
