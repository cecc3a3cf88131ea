#pragma once

#include <Nimbrel_model/Export.h>
#include <wx/thread.h>

namespace Nimbrel_model {

class CameraListener;

// Detached worker thread that optimises the camera's pixel clock (type 0).
class NIMBREL_MODEL_API Thread : public wxThread {
public:
    explicit Thread(const int& type = 0, CameraListener* listener = nullptr);
    ~Thread() override;

    int getType() const;
    ExitCode Entry() override;

private:
    int type;
    CameraListener* listener;
};

}  // namespace Nimbrel_model
