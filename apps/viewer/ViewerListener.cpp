#include "ViewerListener.h"

#include <wx/app.h>

namespace viewer {

void ViewerListener::recordEnd() {
    // Leave the module's walk over its listener list before reacting.
    if (wxTheApp)
        wxTheApp->CallAfter([this] {
            if (onRecordEnd) onRecordEnd();
        });
}

void ViewerListener::optimizeEnd() {
    --pending_;
    // CallAfter queues an event, which is safe from another thread; the
    // window is touched only once the main thread runs it.
    if (wxTheApp)
        wxTheApp->CallAfter([this] {
            if (onOptimizeEnd) onOptimizeEnd();
        });
}

}  // namespace viewer
