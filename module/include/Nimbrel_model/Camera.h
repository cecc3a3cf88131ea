#pragma once

#include <Nimbrel_model/Export.h>
#include <Qel/Qel.h>
#include <wx/event.h>
#include <wx/timer.h>

#include <atomic>
#include <cstdint>
#include <vector>

namespace Nimbrel_model {

class CameraListener;

// The one camera the module drives.
class NIMBREL_MODEL_API Camera : public wxEvtHandler {
public:
    typedef Qel::Strings::hstring hstring;

    static Camera* getInstance();
    ~Camera() override;

    // Lifecycle and accessors.
    void init();
    void exit();
    void removeListener(const CameraListener* listener);
    void* getCamHandle() const;
    hstring getName() const;
    hstring getSensor() const;
    int getMaxWidth() const;
    int getMaxHeight() const;
    bool isColor() const;

    // Acquisition set-up.
    void setDefaults();

    // Live picture: maximum width x height pixels, 3 bytes each (R, G, B).
    // Colour: the camera's own buffer, not to be released. Monochrome: a new
    // array the caller releases with delete[].
    unsigned char* getActiveImage() const;
    void onTimer(wxTimerEvent& event);

    // Gain.
    void setGain(const int& master, const int& red, const int& green, const int& blue);
    double getGain() const;
    double getRedGain() const;
    double getGreenGain() const;
    double getBlueGain() const;
    void setAutoGain(const bool& on);
    bool isGainAuto() const;
    void setDefaultGain();

    // Exposure, frame rate, brightness.
    void setExposure(const double& milliseconds);
    double getExposure() const;
    void setDefaultExposure();
    void setFrameRate(const double& fps);
    double getFrameRate() const;
    void setDefaultFrameRate();
    void setBrightness(const int& brightness);
    int getBrightness() const;
    void setDefaultBrightness();

    // Area of interest.
    void setAOI(const int& width, const int& height);
    void setDefaultAOI();
    int getWidth() const;
    int getHeight() const;
    int getPosX() const;
    int getPosY() const;

    // White balance.
    void doWhiteBalance();
    void stopWhiteBalance();

    // User preset.
    void saveUserSettings();
    void resetUserSettings();

    // Recording.
    void startRecording(CameraListener* listener, const hstring& fileName, const double& length,
                        const double& frameRate, const double& maxSize, const long& replayFrameRate);
    void pauseRecording();
    void stopRecording();

    // Pixel clock optimisation on a worker thread.
    void optimizeClock(CameraListener* listener);

private:
    Camera();
    Camera(const Camera&) = delete;
    Camera& operator=(const Camera&) = delete;

    static Camera* _instance;

    std::atomic<std::uint32_t> camHandle;  // read by the optimisation thread too
    bool color;
    int memId;
    char* imageMemory;
    // The SDK's sensor information record (80 bytes), read through the SDK's
    // own type inside the module so that hosts need no SDK header.
    alignas(4) unsigned char sensorInfo[80];
    int aviId;
    bool recording;
    double lengthSetting;
    double remainingTime;
    double recordFrameRate;
    int sizeLimit;
    wxTimer recordTimer;
    std::vector<CameraListener*> listeners;

    // Guards of the frame writer: the epoch changes whenever the host starts,
    // pauses or stops a recording, so a tick can tell that the host acted
    // during its yield; the frame geometry is the one the open file expects.
    unsigned int recordEpoch = 0;
    int recordMaxWidth = 0;
    int recordMaxHeight = 0;
    void endRecording();

    wxDECLARE_EVENT_TABLE();
};

}  // namespace Nimbrel_model
