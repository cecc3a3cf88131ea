// The user preset: save the camera's values, or go back to the factory ones,
// with a mark that shows whether the live values are stored.
#pragma once

#include "Labels.h"
#include "Notices.h"

#include <wx/button.h>
#include <wx/panel.h>
#include <wx/stattext.h>

#include <functional>

namespace viewer {

class PresetPanel : public wxPanel {
public:
    struct Hooks {
        std::function<bool()> busy;      // a reset would close the camera under running work
        std::function<void()> reopened;  // the camera was opened again
        std::function<void()> changed;
    };
    PresetPanel(wxWindow* parent, Notices& notices, Hooks hooks);

    void relabel();
    // The reset also works with the camera closed: it opens it again.
    void enableFor(bool cameraOpen, bool canReset);
    enum class Button { Save, Reset };
    // Presses a button as a user would, through its event handler.
    void simulatePress(Button button);
    // Polls the configuration's saved flag; true when it changed.
    bool updateMark();
    bool saved() const { return saved_; }

private:
    void onSave(wxCommandEvent& event);
    void onReset(wxCommandEvent& event);
    void showMark();

    Notices& notices_;
    Hooks hooks_;
    Labels labels_;
    wxButton* save_ = nullptr;
    wxButton* reset_ = nullptr;
    wxStaticText* mark_ = nullptr;
    bool saved_ = true;
};

}  // namespace viewer
