// Saves the camera's live picture as a PNG or JPEG file, by its extension.
#pragma once

#include <Nimbrel_model/Camera.h>

#include <cstddef>
#include <optional>
#include <string>

namespace demo {

enum class PictureFormat { Png, Jpeg };

// By the file's extension, case ignored: .png, .jpg or .jpeg; none for others.
std::optional<PictureFormat> pictureFormatFor(const std::string& path);

struct SnapshotInfo {
    int width = 0;
    int height = 0;
    std::size_t bytes = 0;
    const char* format = "";  // "PNG" or "JPEG"
};

// Encodes the area of interest of the current picture, a JPEG at quality 90.
// Throws host::WriteFailure naming the reason when the file cannot be
// written, std::runtime_error for other failures; leaves no partial file.
SnapshotInfo saveSnapshot(const Nimbrel_model::Camera& camera, const std::string& path);

}  // namespace demo
