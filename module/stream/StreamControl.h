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

// Stops a running stream before the camera closes, and frees the buffers it
// kept for the next start; does nothing when there is none.
void stopFrameStream();

// Whether the camera writes its frames into the stream's buffers: then the
// buffer in use is mid-frame, and the last one written is the live picture.
bool frameStreamLendsBuffers();

// While one lives, the stream takes no frame from the camera and cannot stop;
// afterwards it reads the area again, and lends the camera its buffers again
// when the image memory (with its sequence) was replaced. Nests. Main thread.
class FrameStreamPause {
public:
    explicit FrameStreamPause(bool replacesMemory = false);
    ~FrameStreamPause();
    FrameStreamPause(const FrameStreamPause&) = delete;
    FrameStreamPause& operator=(const FrameStreamPause&) = delete;

private:
    bool replacesMemory_;
};

}  // namespace Nimbrel_model
