// One open camera for Python: the module's Camera from nimbrel_model.open()
// to close(), with the recording and optimisation state that belongs to it.
// The module drives one camera, so there is one session at a time; each
// starts from a fresh Camera instance, deleted again on close.
#pragma once

#include "Optimizer.h"
#include "Recorder.h"

#include <Nimbrel_model/Camera.h>

#include <memory>
#include <optional>
#include <string>

namespace nimbrel_python {

class Camera {
public:
    static std::unique_ptr<Camera> open(const std::optional<std::string>& appDir,
                                        const std::optional<std::string>& camera);
    // Closes the camera if close() did not; failures are dropped.
    ~Camera();
    Camera(const Camera&) = delete;
    Camera& operator=(const Camera&) = delete;

    // Stops a recording (its file finished), waits for optimisations to end,
    // closes the camera. Raises the first failure after all of it. Nothing
    // when already closed. Called from a callback of a recording tick, the
    // camera closes once the tick is over.
    void close();
    bool isOpen() const { return parts_.camera != nullptr; }

    // The open camera: CameraClosedError after close(), CameraError when
    // called off the main thread.
    Nimbrel_model::Camera& camera();
    Recorder& recorder();
    Optimizer& optimizer();
    // Deletes the preset and reopens the camera, a recording stopped first.
    void resetUserSettings();

    // At exit: closes the open camera, or finishes a close that a callback
    // began; failures are dropped. Then ends the console application.
    static void closeAll();

private:
    // What a session holds, released together.
    struct Parts {
        Nimbrel_model::Camera* camera = nullptr;
        std::unique_ptr<Recorder> recorder;
        std::unique_ptr<Optimizer> optimizer;
    };
    Camera() = default;
    void awaitFirstPicture();
    static void closeAtExit();
    // Closes the camera and deletes its instance: the next open starts afresh.
    static void release(Parts parts, std::exception_ptr& failure);
    static void finishDeferredClose();

    static Camera* current_;
    static Parts* closing_;  // a close begun inside a recording tick, not over yet
    Parts parts_;
};

}  // namespace nimbrel_python
