#pragma once

#include <Nimbrel_model/Export.h>
#include <Qel/Qel.h>

namespace Nimbrel_model {

// The module's settings, held in "res\config.xml" under the application folder.
// Every writing operation saves the whole file before it returns.
class NIMBREL_MODEL_API Config {
public:
    typedef Qel::Strings::hstring hstring;

    static Config* getInstance();

    Config(const Config& other);
    Config& operator=(const Config& other);

    void load();

    bool getConfSaved() const;
    void setConfSaved(const bool& saved);
    bool getRecordConfSaved() const;
    void setRecordConfSaved(const bool& saved);

    hstring getLanguage() const;
    void setLanguage(const hstring& language);

    // Factory values; message 64 when missing or unreadable.
    long getMasterGain(const hstring& camera) const;
    long getRedGain(const hstring& camera) const;
    long getGreenGain(const hstring& camera) const;
    long getBlueGain(const hstring& camera) const;
    bool getAutoGain(const hstring& camera) const;
    long getBrightness(const hstring& camera) const;
    double getExposure(const hstring& camera) const;
    long getClock(const hstring& camera) const;
    long getGamma(const hstring& camera) const;
    bool getBLEnable(const hstring& camera) const;
    long getBlackLevel(const hstring& camera) const;
    long getColorMode(const hstring& camera) const;
    long getColorCorrection(const hstring& camera) const;

    // User preset.
    bool isUserDefined(const hstring& camera) const;
    bool getUserMasterGain(const hstring& camera, long& value) const;
    bool getUserRedGain(const hstring& camera, long& value) const;
    bool getUserGreenGain(const hstring& camera, long& value) const;
    bool getUserBlueGain(const hstring& camera, long& value) const;
    bool getUserAutoGain(const hstring& camera, bool& value) const;
    bool getUserBrightness(const hstring& camera, long& value) const;
    bool getUserExposure(const hstring& camera, double& value) const;
    bool getUserFramerate(const hstring& camera, double& value) const;
    bool getUserSizes(const hstring& camera, int& width, int& height) const;
    void setUserMasterGain(const hstring& camera, const long& value);
    void setUserRedGain(const hstring& camera, const long& value);
    void setUserGreenGain(const hstring& camera, const long& value);
    void setUserBlueGain(const hstring& camera, const long& value);
    void setUserAutoGain(const hstring& camera, const bool& value);
    void setUserBrightness(const hstring& camera, const long& value);
    void setUserExposure(const hstring& camera, const double& value);
    void setUserFramerate(const hstring& camera, const double& value);
    void setUserSizes(const hstring& camera, const int& width, const int& height);
    bool clearUserSettings(const hstring& camera);

    // Recording settings.
    long getAviUserReplayFrameRate() const;
    long getAviUserMaxSize() const;
    long getAviUserFrameRate() const;
    long getAviUserLength() const;
    void setAviUserReplayFrameRate(const long& value);
    void setAviUserMaxSize(const long& value);
    void setAviUserFrameRate(const long& value);
    void setAviUserLength(const long& value);
    bool isUserRecordingDefined() const;
    void resetUserRecordSettings();
    void saveUserRecordSettings(const double& length, const double& frameRate, const double& maxSize,
                                const long& replayFrameRate);

private:
    Config();

    static Config* _instance;

    Qel::XML::XMLDoc doc;
    bool confSaved;
    bool recordConfSaved;
};

}  // namespace Nimbrel_model
