#pragma once

#include <Nimbrel_model/Export.h>
#include <Qel/Qel.h>

namespace Nimbrel_model {

/// \brief The module's settings: one XML file, "res/config.xml" in the host
/// application's folder (Qel::HelperFuncs::getAppDir()).
///
/// A process-wide singleton (getInstance()). The file holds, per camera
/// model (an element named after the sensor, Camera::getName(), under
/// `CameraSettings`), the factory value of each camera parameter and the user
/// preset, and for the whole module the recording settings and the interface
/// language. Config reads it into memory with load(), which the host calls
/// once before Camera::init(); nothing in the module loads it.
///
/// **Reads** come from the document in memory. **Every writing operation**
/// changes the document and saves the whole file before it returns:
/// atomically (a hidden temporary file in the same folder, flushed, then
/// renamed over the old file), so a crash leaves the old file or the new one,
/// never a mix, and a later save or load removes temporaries that a killed
/// save left behind. A failed save throws Qel::Exception with the helper
/// library's message naming the file and the reason; the file is then intact
/// and the change stays in memory.
///
/// **Errors.** Message 64 of section "Nimbrel" (severity 10, text used
/// unchanged): a required element is absent or unreadable. Factory values
/// are required: every factory getter throws it when `CameraSettings`, the
/// camera's element or the value's element is missing, or a number does not
/// parse. The user preset's operations throw it only when `CameraSettings` or
/// the camera's element is missing; a missing user value is not an error.
/// The recording and language operations never throw it. Numbers are written
/// and read in the C locale ('.' as decimal point) whatever the process
/// locale; whole numbers are stored as 32-bit ints, larger values clamped.
///
/// **Saved flags.** Two flags live in memory only, for the host:
/// getConfSaved() (are the camera's live settings stored in the preset?) and
/// getRecordConfSaved() (are the recording settings stored?). Config itself
/// changes the first only through setConfSaved(): Camera clears it when a
/// live parameter changes and sets it when the preset is saved, reset or
/// applied. saveUserRecordSettings() and resetUserRecordSettings() set the
/// second.
///
/// **Threads.** No lock: the host uses the instance from one thread at a
/// time (its main thread); the module's worker thread never touches it.
class NIMBREL_MODEL_API Config {
public:
    /// The module's string type: UTF-8 text.
    using hstring = Qel::Strings::hstring;

    /// \brief The one Config, created on the first call with an empty
    /// document; the same pointer on every later call.
    ///
    /// The first call must not race with another (make it on the main thread
    /// first). It does not read the file: call load(). The module never
    /// destroys the instance.
    static Config* getInstance();

    /// \brief A copy of the document in memory and of both saved flags.
    Config(const Config& other);
    /// \brief Replaces the document and both saved flags with copies of
    /// `other`'s.
    Config& operator=(const Config& other);

    /// \brief Reads "res/config.xml" in the application folder into memory.
    ///
    /// Call it once after getInstance() and before Camera::init(). Calling it
    /// again re-reads the file and drops every change held only in memory.
    /// The saved flags are not touched. Also removes hidden temporary files
    /// that killed saves of this file left behind.
    /// \throws Qel::Exception naming the path and the reason when the file is
    /// missing, unreadable or not well-formed XML; the document then keeps
    /// what it held.
    void load();

    /// \brief Whether the camera's live settings are stored in the user
    /// preset, as far as the module knows. Starts true.
    bool getConfSaved() const;
    /// \brief Sets the flag getConfSaved() returns. Camera calls it; a host
    /// may too.
    void setConfSaved(const bool& saved);
    /// \brief Whether the recording settings are stored. Starts true; only
    /// saveUserRecordSettings(), resetUserRecordSettings() and the host
    /// change it.
    bool getRecordConfSaved() const;
    /// \brief Sets the flag getRecordConfSaved() returns.
    void setRecordConfSaved(const bool& saved);

    /// \brief The host's interface language (element `Language` under the
    /// root).
    ///
    /// When the element is absent it is added in memory with "French" (the
    /// file is not saved: the next writing operation stores it). Never throws.
    /// \return The stored text, or "French".
    hstring getLanguage() const;
    /// \brief Stores the interface language and saves the file.
    /// \param language Free text, for example "English".
    /// \throws Qel::Exception the helper library's message when the file
    /// cannot be saved (the change stays in memory).
    void setLanguage(const hstring& language);

    /// \name Factory values
    /// Required values of a camera model, read by Camera::setDefaults() and
    /// the `setDefault` members of Camera; none changes the document. Each
    /// throws message 64 when `CameraSettings`, the camera's element or the
    /// value's element is missing, or its text is not a number of the
    /// expected kind. Numbers are in the SDK's units and reach the camera unchanged.
    /// `camera` is a camera model's name, as Camera::getName() gives it.
    ///@{

    /// \brief The factory master gain of a camera model (element `MasterGain`).
    /// \return The gain; -1 when the factory state is automatic gain (`AutoGain` is "true" in any letter case),
    /// whatever the `MasterGain` text, which must still exist. \throws Qel::Exception message 64 (see the factory
    /// values above).
    long getMasterGain(const hstring& camera) const;
    /// \brief The factory red gain of a camera model (element `RedGain`).
    /// \throws Qel::Exception message 64 (see the factory values above).
    long getRedGain(const hstring& camera) const;
    /// \brief The factory green gain of a camera model (element `GreenGain`).
    /// \throws Qel::Exception message 64 (see the factory values above).
    long getGreenGain(const hstring& camera) const;
    /// \brief The factory blue gain of a camera model (element `BlueGain`).
    /// \throws Qel::Exception message 64 (see the factory values above).
    long getBlueGain(const hstring& camera) const;
    /// \brief The factory automatic gain switch of a camera model (element `AutoGain`).
    /// \return true for "true", "yes", "on" or "1" in any letter case; false for any other text (no error).
    /// \throws Qel::Exception message 64 (see the factory values above).
    bool getAutoGain(const hstring& camera) const;
    /// \brief The factory brightness of a camera model (element `Brightness`).
    /// \return The brightness.
    /// \throws Qel::Exception message 64 (see the factory values above).
    long getBrightness(const hstring& camera) const;
    /// \brief The factory exposure of a camera model (element `Exposure`).
    /// \return Milliseconds; fractions allowed.
    /// \throws Qel::Exception message 64 (see the factory values above).
    double getExposure(const hstring& camera) const;
    /// \brief The factory pixel clock of a camera model (element `Clock`).
    /// \return The pixel clock, in the SDK's units (MHz).
    /// \throws Qel::Exception message 64 (see the factory values above).
    long getClock(const hstring& camera) const;
    /// \brief The factory gamma of a camera model (element `Gamma`).
    /// \return The gamma value, in the SDK's units.
    /// \throws Qel::Exception message 64 (see the factory values above).
    long getGamma(const hstring& camera) const;
    /// \brief The factory black-level compensation switch of a camera model (element `BLEnable`).
    /// \return true for "true", "yes", "on" or "1" in any letter case; false for any other text (no error).
    /// \throws Qel::Exception message 64 (see the factory values above).
    bool getBLEnable(const hstring& camera) const;
    /// \brief The factory black-level offset of a camera model (element `BlackLevel`).
    /// \return The offset, in the SDK's units.
    /// \throws Qel::Exception message 64 (see the factory values above).
    long getBlackLevel(const hstring& camera) const;
    /// \brief The factory colour mode of a camera model (element `ColorMode`).
    /// \return The mode, in the SDK's codes; the module itself does not use it.
    /// \throws Qel::Exception message 64 (see the factory values above).
    long getColorMode(const hstring& camera) const;
    /// \brief The factory colour correction mode of a camera model (element `ColorCorrection`).
    /// \return The mode, in the SDK's codes.
    /// \throws Qel::Exception message 64 (see the factory values above).
    long getColorCorrection(const hstring& camera) const;
    ///@}

    /// \name User preset
    /// The values a user saved for a camera model (Camera::saveUserSettings()),
    /// applied by the next Camera::init(): the camera element's children named
    /// `User...`. A user value is optional: a getter answers false when it is
    /// absent or unreadable. Every operation throws message 64 when
    /// `CameraSettings` or the camera's element is missing. Each setter adds
    /// its element when absent, as the camera element's last child, and saves
    /// the whole file; none touches the saved flags. `camera` is a camera
    /// model's name, as Camera::getName() gives it.
    ///@{

    /// \brief Whether a user preset is stored for the camera: its element
    /// holds `UserMasterGain`, whatever else it holds.
    /// \return true when the preset exists.
    /// \throws Qel::Exception message 64 when the camera has no element.
    bool isUserDefined(const hstring& camera) const;
    /// \brief Reads the user preset's master gain (element `UserMasterGain`).
    /// \param value Receives the value when the result is true; left alone
    /// otherwise.
    /// \return false when the element is absent or its text is not a whole number.
    /// \throws Qel::Exception message 64 when the camera has no element.
    bool getUserMasterGain(const hstring& camera, long& value) const;
    /// \brief Reads the user preset's red gain (element `UserRedGain`).
    /// \param value Receives the value when the result is true; left alone
    /// otherwise.
    /// \return false when the element is absent or its text is not a whole number.
    /// \throws Qel::Exception message 64 when the camera has no element.
    bool getUserRedGain(const hstring& camera, long& value) const;
    /// \brief Reads the user preset's green gain (element `UserGreenGain`).
    /// \param value Receives the value when the result is true; left alone
    /// otherwise.
    /// \return false when the element is absent or its text is not a whole number.
    /// \throws Qel::Exception message 64 when the camera has no element.
    bool getUserGreenGain(const hstring& camera, long& value) const;
    /// \brief Reads the user preset's blue gain (element `UserBlueGain`).
    /// \param value Receives the value when the result is true; left alone
    /// otherwise.
    /// \return false when the element is absent or its text is not a whole number.
    /// \throws Qel::Exception message 64 when the camera has no element.
    bool getUserBlueGain(const hstring& camera, long& value) const;
    /// \brief Reads the user preset's automatic gain switch (element
    /// `UserAutoGain`).
    /// \param value Receives true for "true", "yes", "on" or "1" (any letter
    /// case), false for any other text; left alone when the element is absent.
    /// \return true whenever the element exists.
    /// \throws Qel::Exception message 64 when the camera has no element.
    bool getUserAutoGain(const hstring& camera, bool& value) const;
    /// \brief Reads the user preset's brightness (element `UserBrightness`).
    /// \param value Receives the value when the result is true; left alone
    /// otherwise.
    /// \return false when the element is absent or its text is not a whole number.
    /// \throws Qel::Exception message 64 when the camera has no element.
    bool getUserBrightness(const hstring& camera, long& value) const;
    /// \brief Reads the user preset's exposure in milliseconds (element `UserExposure`).
    /// \param value Receives the value when the result is true; left alone
    /// otherwise.
    /// \return false when the element is absent or its text is not a number.
    /// \throws Qel::Exception message 64 when the camera has no element.
    bool getUserExposure(const hstring& camera, double& value) const;
    /// \brief Reads the user preset's frame rate in frames per second (element `UserFramerate`).
    /// \param value Receives the value when the result is true; left alone
    /// otherwise.
    /// \return false when the element is absent or its text is not a number.
    /// \throws Qel::Exception message 64 when the camera has no element.
    bool getUserFramerate(const hstring& camera, double& value) const;
    /// \brief Reads the user preset's size of the area of interest (elements
    /// `UserWidth` and `UserHeight`), in pixels.
    /// \param width Receives the width when `UserWidth` is a whole number;
    /// stored even when the height then fails.
    /// \param height Receives the height when the result is true.
    /// \return false when either element is absent or not a whole number.
    /// \throws Qel::Exception message 64 when the camera has no element.
    bool getUserSizes(const hstring& camera, int& width, int& height) const;
    /// \brief Stores the user preset's master gain (element `UserMasterGain`) and saves the
    /// file. Its presence makes isUserDefined() true.
    /// \throws Qel::Exception message 64 when the camera has no element
    /// (nothing changed); the helper library's message when the file cannot
    /// be saved (the change stays in memory).
    void setUserMasterGain(const hstring& camera, const long& value);
    /// \brief Stores the user preset's red gain (element `UserRedGain`) and saves the
    /// file.
    /// \throws Qel::Exception message 64 when the camera has no element
    /// (nothing changed); the helper library's message when the file cannot
    /// be saved (the change stays in memory).
    void setUserRedGain(const hstring& camera, const long& value);
    /// \brief Stores the user preset's green gain (element `UserGreenGain`) and saves the
    /// file.
    /// \throws Qel::Exception message 64 when the camera has no element
    /// (nothing changed); the helper library's message when the file cannot
    /// be saved (the change stays in memory).
    void setUserGreenGain(const hstring& camera, const long& value);
    /// \brief Stores the user preset's blue gain (element `UserBlueGain`) and saves the
    /// file.
    /// \throws Qel::Exception message 64 when the camera has no element
    /// (nothing changed); the helper library's message when the file cannot
    /// be saved (the change stays in memory).
    void setUserBlueGain(const hstring& camera, const long& value);
    /// \brief Stores the user preset's automatic gain switch (element `UserAutoGain`) and saves the
    /// file. Written as "true" or "false".
    /// \throws Qel::Exception message 64 when the camera has no element
    /// (nothing changed); the helper library's message when the file cannot
    /// be saved (the change stays in memory).
    void setUserAutoGain(const hstring& camera, const bool& value);
    /// \brief Stores the user preset's brightness (element `UserBrightness`) and saves the
    /// file.
    /// \throws Qel::Exception message 64 when the camera has no element
    /// (nothing changed); the helper library's message when the file cannot
    /// be saved (the change stays in memory).
    void setUserBrightness(const hstring& camera, const long& value);
    /// \brief Stores the user preset's exposure in milliseconds (element `UserExposure`) and saves the
    /// file.
    /// \throws Qel::Exception message 64 when the camera has no element
    /// (nothing changed); the helper library's message when the file cannot
    /// be saved (the change stays in memory).
    void setUserExposure(const hstring& camera, const double& value);
    /// \brief Stores the user preset's frame rate in frames per second (element `UserFramerate`) and saves the
    /// file.
    /// \throws Qel::Exception message 64 when the camera has no element
    /// (nothing changed); the helper library's message when the file cannot
    /// be saved (the change stays in memory).
    void setUserFramerate(const hstring& camera, const double& value);
    /// \brief Stores the user preset's size of the area of interest (elements
    /// `UserWidth`, then `UserHeight`) and saves the file once.
    /// \param width Width in pixels.
    /// \param height Height in pixels.
    /// \throws Qel::Exception message 64 when the camera has no element
    /// (nothing changed); the helper library's message when the file cannot
    /// be saved (the change stays in memory).
    void setUserSizes(const hstring& camera, const int& width, const int& height);
    /// \brief Removes the user preset of the camera (every child named
    /// `User...`), keeps its factory values and saves the file, also when
    /// there was nothing to remove.
    /// \return true.
    /// \throws Qel::Exception message 64 when the camera has no element
    /// (nothing changed); the helper library's message when the file cannot
    /// be saved (the removal stays in memory).
    bool clearUserSettings(const hstring& camera);
    ///@}

    /// \name Recording settings
    /// The host's recording choices, kept from one run to the next: the four
    /// numbers Camera::startRecording() takes (length in seconds, frame rate
    /// and replay frame rate in frames per second, maximum size in megabytes),
    /// as whole numbers in root children named `AviUser...`. The module itself
    /// never reads them. Getters never fail; each setter adds its element when
    /// absent, as the root's last child, and saves the whole file.
    ///@{

    /// \brief The stored recording replay frame rate (element `AviUserReplayFrameRate`).
    /// \return The whole number stored; 0 when the element is absent or holds
    /// no number. Never throws.
    long getAviUserReplayFrameRate() const;
    /// \brief The stored recording maximum size (element `AviUserMaxSize`).
    /// \return The whole number stored; 0 when the element is absent or holds
    /// no number. Never throws.
    long getAviUserMaxSize() const;
    /// \brief The stored recording frame rate (element `AviUserFrameRate`).
    /// \return The whole number stored; 0 when the element is absent or holds
    /// no number. Never throws.
    long getAviUserFrameRate() const;
    /// \brief The stored recording length (element `AviUserLength`).
    /// \return The whole number stored; 0 when the element is absent or holds
    /// no number. Never throws.
    long getAviUserLength() const;
    /// \brief Stores the recording replay frame rate (element `AviUserReplayFrameRate`) and saves the
    /// file. Does not touch getRecordConfSaved().
    /// \throws Qel::Exception the helper library's message when the file
    /// cannot be saved (the change stays in memory).
    void setAviUserReplayFrameRate(const long& value);
    /// \brief Stores the recording maximum size (element `AviUserMaxSize`) and saves the
    /// file. Does not touch getRecordConfSaved().
    /// \throws Qel::Exception the helper library's message when the file
    /// cannot be saved (the change stays in memory).
    void setAviUserMaxSize(const long& value);
    /// \brief Stores the recording frame rate (element `AviUserFrameRate`) and saves the
    /// file. Does not touch getRecordConfSaved().
    /// \throws Qel::Exception the helper library's message when the file
    /// cannot be saved (the change stays in memory).
    void setAviUserFrameRate(const long& value);
    /// \brief Stores the recording length (element `AviUserLength`) and saves the
    /// file. Does not touch getRecordConfSaved().
    /// \throws Qel::Exception the helper library's message when the file
    /// cannot be saved (the change stays in memory).
    void setAviUserLength(const long& value);
    /// \brief Whether any recording setting is stored.
    /// \return true when the root holds at least one `AviUser...` element.
    /// Never throws.
    bool isUserRecordingDefined() const;
    /// \brief Removes every recording setting, saves the file (also when
    /// there was nothing to remove) and sets getRecordConfSaved().
    /// \throws Qel::Exception the helper library's message when the file
    /// cannot be saved (the removal stays in memory, the flag unchanged).
    void resetUserRecordSettings();
    /// \brief Stores the four recording settings, in the order of
    /// Camera::startRecording()'s arguments, then sets getRecordConfSaved().
    ///
    /// The doubles are truncated toward zero (2.9 gives 2, -2.9 gives -2;
    /// values beyond `long` are clamped, NaN gives 0). Four setters run in
    /// turn, so the file is saved four times.
    /// \param length Length in seconds.
    /// \param frameRate Frame rate in frames per second.
    /// \param maxSize Maximum size in megabytes.
    /// \param replayFrameRate Replay frame rate in frames per second.
    /// \throws Qel::Exception the helper library's message when a save fails:
    /// the settings saved before it stay in the file, the rest are not
    /// written, and the flag keeps its value.
    void saveUserRecordSettings(const double& length, const double& frameRate, const double& maxSize,
                                const long& replayFrameRate);
    ///@}

private:
    Config();

    static Config* _instance;

    Qel::XML::XMLDoc doc;
    bool confSaved = true;
    // Starts true: nothing unsaved exists before the first change.
    bool recordConfSaved = true;
};

}  // namespace Nimbrel_model
