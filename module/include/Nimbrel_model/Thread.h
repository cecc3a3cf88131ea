#pragma once

#include <Nimbrel_model/Export.h>
#include <wx/thread.h>

namespace Nimbrel_model {

class CameraListener;

/// \brief The worker thread of Camera::optimizeClock(): a detached wxThread
/// that applies the camera's fastest pixel clock and frame rate.
///
/// Hosts do not normally make one: Camera::optimizeClock() does. Made with
/// `new`, started with `Create()` and `Run()`, never joined; wxWidgets deletes
/// it when Entry() returns, so the pointer must not be used after a successful
/// `Run()`. wxWidgets must be initialised before one is constructed.
class NIMBREL_MODEL_API Thread : public wxThread {
public:
    /// \brief A detached thread, not yet started.
    /// \param type The work to do: 0, the pixel clock optimisation, is the
    /// only type that does anything.
    /// \param listener Told by CameraListener::optimizeEnd() when the work is
    /// over; may be null. Not owned: it must outlive the thread.
    explicit Thread(const int& type = 0, CameraListener* listener = nullptr);
    /// Run by wxWidgets when Entry() has returned; Camera's destructor and
    /// Camera::resetUserSettings() wait for it.
    ~Thread() override;

    /// \brief The work this thread does.
    /// \return The type given to the constructor.
    int getType() const;

    /// \brief The work, on the worker thread; wxWidgets calls it.
    ///
    /// For type 0: asks the SDK for the best pixel clock and its frame rate (a
    /// search of up to 5000 ms), sets the pixel clock, then sets the frame
    /// rate (raised to the camera's shortest frame time when that allows
    /// more), and finally calls the listener's optimizeEnd(). When the search
    /// fails nothing is changed on the camera, and optimizeEnd() still
    /// follows. Reports no error and throws nothing. Any other type returns at
    /// once and calls nobody.
    /// \return Always null.
    ExitCode Entry() override;

private:
    int type;
    CameraListener* listener;
};

}  // namespace Nimbrel_model
