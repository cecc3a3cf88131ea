#pragma once

#include <Nimbrel_model/Export.h>

namespace Nimbrel_model {

// Implemented by the host to hear of the end of background work.
class NIMBREL_MODEL_API CameraListener {
public:
    CameraListener() = default;
    CameraListener(const CameraListener&) = default;
    CameraListener& operator=(const CameraListener&) = default;
    virtual ~CameraListener();

    // A recording ended by itself at its length or size limit; the file is
    // closed. Called on the thread that runs the host's event loop.
    virtual void recordEnd();
    // A pixel clock optimisation is over. Called on the worker thread.
    virtual void optimizeEnd();
};

}  // namespace Nimbrel_model
