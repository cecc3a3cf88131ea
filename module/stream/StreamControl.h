// What Camera tells the frame stream: close it before the camera closes, and
// hold it while the area or the image memory changes.
#pragma once

namespace Nimbrel_model {

class Camera;

// The image memory that Camera keeps to itself.
struct CameraInternals {
    static char* memory(const Camera& camera);
    static int memoryId(const Camera& camera);
};

// Stops a running stream; does nothing when there is none.
void stopFrameStream();

// While one lives, the stream takes no frame from the camera; afterwards it
// reads the area and the image memory again. Nests. Main thread.
class FrameStreamPause {
public:
    FrameStreamPause();
    ~FrameStreamPause();
    FrameStreamPause(const FrameStreamPause&) = delete;
    FrameStreamPause& operator=(const FrameStreamPause&) = delete;
};

}  // namespace Nimbrel_model
