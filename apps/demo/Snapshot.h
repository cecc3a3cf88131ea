// Saves the camera's live picture as a JPEG file.
#pragma once

#include <Nimbrel_model/Camera.h>

#include <cstddef>
#include <string>

namespace demo {

struct SnapshotInfo {
    int width = 0;
    int height = 0;
    std::size_t bytes = 0;
};

// Encodes the area of interest of the current picture at quality 90.
// Throws std::runtime_error when encoding or writing fails.
SnapshotInfo saveSnapshot(const Nimbrel_model::Camera& camera, const std::string& path);

}  // namespace demo
