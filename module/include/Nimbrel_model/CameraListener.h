#pragma once

#include <Nimbrel_model/Export.h>

namespace Nimbrel_model {

/// \brief Implemented by the host to hear of the end of the module's
/// background work.
///
/// Derive from it and override the calls you want; the default bodies do
/// nothing, and a plain CameraListener may be passed too. The host owns every
/// listener and keeps it alive while the module may call it: the module never
/// creates, copies or deletes one, and keeps only bare pointers.
///
/// The two calls come on different threads: recordEnd() on the thread that
/// runs the host's event loop, optimizeEnd() on a worker thread.
class NIMBREL_MODEL_API CameraListener {
public:
    CameraListener() = default;
    CameraListener(const CameraListener&) = default;
    CameraListener& operator=(const CameraListener&) = default;
    /// Does nothing; virtual so that a host may delete through this type. Take
    /// the listener out first with Camera::removeListener().
    virtual ~CameraListener();

    /// \brief A recording ended by itself, at its length or size limit; the
    /// AVI file is already closed.
    ///
    /// Called from the recording timer's tick (Camera::onTimer()) on the
    /// thread that runs the host's event loop, once per entry of the
    /// camera's listener list, in order: a listener given to two recordings
    /// and never removed hears it twice. Not called when the host ends the
    /// recording with Camera::stopRecording() or pauses it, nor after a
    /// failed tick. The host may call Camera members from here, for example
    /// Camera::removeListener() or Camera::startRecording() for a new file.
    virtual void recordEnd();

    /// \brief A pixel clock optimisation started by Camera::optimizeClock()
    /// is over, whether or not the camera accepted the new timing.
    ///
    /// Called once, **on the optimisation's worker thread**, not on the
    /// host's main thread, with no lock held. A GUI host hands the work to its
    /// main thread itself (for example with `wxEvtHandler::CallAfter`); do not
    /// touch windows or call Camera members from here.
    virtual void optimizeEnd();
};

}  // namespace Nimbrel_model
