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

/// \brief What a camera setting accepts: its smallest and largest value and
/// the step between values, as the camera reports them for its current state.
///
/// An addition to the module's original interface, read by the Camera getters
/// that end in `Range`. The units are the setting's own (see Camera). A step
/// of 0 means any value between the two bounds.
struct SettingRange {
    double min = 0.0;   ///< Smallest value the camera accepts.
    double max = 0.0;   ///< Largest value the camera accepts.
    double step = 0.0;  ///< Distance between values; 0: any value.

    /// \brief Whether `value` lies within the bounds.
    /// \param value The value a setter would be given.
    /// \return true from min to max, both included; false for NaN.
    bool contains(double value) const { return value >= min && value <= max; }
};

/// \brief A camera connected to the computer, as Camera::getConnectedCameras()
/// lists it.
///
/// An addition to the module's original interface, beside
/// Camera::initById(): it tells a host which ids there are to open.
struct ConnectedCamera {
    int id = 0;                   ///< The SDK's camera id, for Camera::initById().
    Qel::Strings::hstring model;  ///< The camera's model name, as the SDK reports it.
    bool inUse = false;           ///< Open already (by this process or another): it cannot be opened now.
};

/// \brief The one camera that the module drives: opening and closing it, the
/// live picture, every camera parameter, AVI recording and the pixel clock
/// optimisation.
///
/// A process-wide singleton (getInstance()). Every operation runs on the
/// caller's thread and returns when the camera SDK has answered; the module
/// takes no lock, so the host calls it from one thread, its main thread, which
/// also runs the wxWidgets event loop. The exceptions are getCamHandle(), which
/// any thread may call, and optimizeClock(), whose work runs on a worker thread.
///
/// **Errors.** A failed SDK call throws Qel::Exception with severity
/// Qel::Exception::Error (10) and message 63 of section "Nimbrel": the text
/// names the SDK function and ends with its status in decimal, for example
/// "The camera call is_SetExposureTime failed with status 3". A missing or
/// unreadable configuration value throws message 64, from the Config calls
/// that the camera makes. Nothing done before the failing call is undone.
///
/// **Units.** Exposure in milliseconds, frame rates in frames per second (both
/// `double`); gains, brightness, gamma, black level and pixel clock in the
/// SDK's own integer units, passed through unchanged (the camera decides what
/// it accepts, and the getters report what it holds); sizes and offsets in
/// pixels; recording length in seconds and sizes in megabytes of 1024
/// kilobytes.
///
/// **Saved flag.** Config::getConfSaved() tells the host whether the camera's
/// live settings are stored in the user preset. Each member says whether it
/// clears it (a successful change of a live parameter) or sets it (saving or
/// resetting the preset); members that do not mention it leave it alone, and
/// a member that throws leaves it as it was, unless it says otherwise.
///
/// **Surprises worth knowing.**
/// - The colour flag: once an init() has found a monochrome sensor (its name
///   ends in "-M"), isColor() stays false for the life of this instance, even
///   when a later init() opens a colour sensor. Destroy the instance to start
///   afresh.
/// - exit() neither stops nor pauses a recording: pause or stop it first.
/// - A recording advances only while the host's event loop runs: its timer is
///   a wxTimer on the main thread. Each tick can throw out of the host's event
///   loop (see onTimer()).
/// - CameraListener::recordEnd() is called on the main thread from the
///   recording timer; CameraListener::optimizeEnd() on the optimisation's
///   worker thread.
class NIMBREL_MODEL_API Camera : public wxEvtHandler {
public:
    /// The module's string type: UTF-8 text.
    using hstring = Qel::Strings::hstring;

    /// Not copyable: there is one camera.
    Camera(const Camera&) = delete;
    /// Not assignable: there is one camera.
    Camera& operator=(const Camera&) = delete;

    /// \brief The one Camera, created on the first call; the same pointer on
    /// every later call.
    ///
    /// The first call must come from the main thread, after wxWidgets has been
    /// initialised (an application object or a `wxInitializer` exists: the
    /// recording timer needs it) and before any other thread uses the module.
    /// Creating the instance talks to no camera.
    /// \return The instance. The module never destroys it; the host may, with
    /// `delete`, and the next call then creates a new one.
    static Camera* getInstance();

    /// \brief Closes the camera and releases the instance.
    ///
    /// Waits for a running pixel clock optimisation to end (at most about
    /// 6 s) so that the worker thread never drives a closed camera, then calls
    /// exit() and ignores its failures: destroying never throws. A recording
    /// still open is neither closed nor told: stop it first. Listeners are not
    /// deleted. Main thread only.
    ~Camera() override;

    /// \brief Opens the first available camera, sets it up and starts live
    /// capture.
    ///
    /// Closes an open camera first (exit()), opens the first camera the SDK
    /// finds, reads its sensor information (getName(), getMaxWidth(),
    /// getMaxHeight()), clears the colour flag when the sensor name ends in
    /// "-M", runs setDefaults() and starts continuous capture into the image
    /// memory. Config::load() must have been called before: the set-up reads
    /// the configuration.
    ///
    /// Does not stop a recording and does not wait for a running
    /// optimisation: pause or stop the one, wait for optimizeEnd() of the
    /// other, before reopening.
    ///
    /// Saved flag: set when a user preset was applied; otherwise cleared by the
    /// factory exposure and frame rate.
    ///
    /// Main thread only.
    /// \throws Qel::Exception message 63 naming "is_InitCamera",
    /// "is_GetSensorInfo" or "is_CaptureVideo", any failure of exit() and of
    /// setDefaults() (message 63, or 64 for a missing factory value). After a
    /// failure past "is_InitCamera" the camera stays open with its handle
    /// set; exit() or init() closes it.
    void init();

    /// \brief Opens the camera of the SDK's camera id `cameraId`, with the
    /// same steps as init() otherwise; 0 opens the first available camera,
    /// as init() does.
    /// \throws Qel::Exception as init(); message 63 naming "is_InitCamera"
    /// when no camera of that id can be opened.
    void initById(const int& cameraId);

    /// \brief The cameras connected to the computer, open or not, in the
    /// SDK's order; empty when there is none.
    ///
    /// An addition to the module's original interface. One SDK query (two
    /// when more than eight cameras are connected), on the caller's thread;
    /// it needs neither an open camera nor an instance, and changes nothing.
    /// \return Each camera's id, model and whether it is in use.
    /// \throws Qel::Exception message 63 naming "is_ListConnectedCameras",
    /// also with status -1 when the SDK reports a negative count.
    static std::vector<ConnectedCamera> getConnectedCameras();

    /// \brief Stops live capture, frees the image memory and closes the camera.
    ///
    /// Does nothing when no camera is open. Keeps what the last init() read:
    /// getName(), getMaxWidth(), getMaxHeight() and isColor() still answer
    /// after it. Neither stops nor pauses a recording, and leaves its timer
    /// running: its next tick would read the freed memory and fail, so pause
    /// or stop the recording first. Does not wait for a running optimisation.
    /// The colour picture returned by getActiveImage() is invalid afterwards.
    ///
    /// Main thread only. The saved flag is not touched.
    /// \throws Qel::Exception message 63 naming "is_StopLiveVideo" (nothing
    /// changed), "is_FreeImageMem" (camera still open, memory still held) or
    /// "is_ExitCamera" (memory freed, handle kept). A later exit() or init()
    /// tries again from the start.
    void exit();

    /// \brief Takes every copy of `listener` out of the list of listeners told
    /// of a recording's end.
    ///
    /// The listener itself is not deleted: the host owns it. A pointer that is
    /// not in the list changes nothing. Safe to call from
    /// CameraListener::recordEnd(). Main thread only; never throws.
    /// \param listener The listener given earlier to startRecording().
    void removeListener(const CameraListener* listener);

    /// \brief The SDK's handle of the open camera.
    /// \return The 32-bit handle as a pointer; null while no camera is open.
    /// Any thread may call it; never throws.
    void* getCamHandle() const;

    /// \brief The sensor name read by the last init(), for example
    /// "SIM1280-C".
    ///
    /// This is the camera name under which Config keeps the camera's factory
    /// values and user preset. Empty before the first init(); kept after
    /// exit(). Never throws.
    /// \return A new string, by value.
    hstring getName() const;

    /// \brief The same as getName().
    /// \return A new string, by value.
    hstring getSensor() const;

    /// \brief The sensor's full width in pixels, read by the last init().
    /// \return 0 before the first init(); kept after exit(). Never throws.
    int getMaxWidth() const;

    /// \brief The sensor's full height in pixels, read by the last init().
    /// \return 0 before the first init(); kept after exit(). Never throws.
    int getMaxHeight() const;

    /// \brief Whether the pictures are in colour.
    /// \return true until an init() finds a sensor whose name ends in "-M";
    /// false from then on, for the life of this instance, whatever sensor a
    /// later init() opens. Never throws.
    bool isColor() const;

    /// \brief Puts the open camera into its capture state; init() runs it.
    ///
    /// With a user preset for getName() (Config::isUserDefined()) it applies
    /// the preset's gains, automatic gain, brightness, exposure, area of
    /// interest and frame rate; without one the factory gains, brightness and
    /// exposure, the camera's default frame rate and the full sensor size. In
    /// both cases it applies gamma, black level, colour correction and pixel
    /// clock from the factory values, 24-bit RGB (colour) or 8-bit grey
    /// (monochrome), switches automatic shutter and white balance off and
    /// binning and the external trigger off, and allocates one image memory of
    /// the full sensor size, the only buffer capture writes into. An image
    /// memory of an earlier set-up is freed first, so a colour picture taken
    /// before with getActiveImage() is invalid afterwards.
    ///
    /// Saved flag: set at the end when a preset was applied; otherwise cleared
    /// by the factory exposure and frame rate.
    ///
    /// Main thread only; needs an open camera.
    /// \throws Qel::Exception message 63 naming the failing SDK call, or
    /// message 64 when a factory value of the sensor is missing or unreadable
    /// in the configuration. The set-up stops there; what it applied stays.
    void setDefaults();

    /// \brief The current live picture: getMaxWidth() × getMaxHeight() pixels,
    /// 3 bytes each in the order red, green, blue, line after line.
    ///
    /// Always the full sensor size, whatever area of interest is set: the
    /// area's pixels lie at the picture's top-left corner, on lines
    /// getMaxWidth() pixels long. Capture keeps writing into the camera's
    /// buffer without a lock, so a picture may hold parts of two successive
    /// frames.
    ///
    /// Ownership differs with the sensor:
    /// - colour (isColor() true): the camera's own image memory, borrowed.
    ///   Do not release it. The same address on every call; valid until
    ///   exit(), the next init() or setDefaults().
    /// - monochrome: a new array made with `new[]` in which each grey value
    ///   stands three times. The caller owns it and releases it with
    ///   `delete[]` (for example through `std::unique_ptr<unsigned char[]>`).
    ///
    /// Main thread; the saved flag is not touched.
    /// \return The picture, or null when the camera has no active buffer (for
    /// example before init()). Throws nothing of its own (a monochrome
    /// picture's allocation may throw `std::bad_alloc`).
    unsigned char* getActiveImage() const;

    /// \brief One tick of the recording timer: writes the current picture as
    /// one frame into the open AVI file and ends the recording at a limit.
    ///
    /// The host does not call it: wxWidgets does, through this class's event
    /// table (timer id 10), on the main thread inside the host's event loop.
    /// A tick first yields to the event loop (`wxYield()`), so host events
    /// may run in the middle of it, then re-arms the one-shot timer, checks
    /// the file size against the size limit (before writing), writes the frame
    /// (red and blue exchanged for the AVI tools; the area of interest read at
    /// the start of the recording, from the top-left of the picture) and
    /// counts the frame's nominal duration (1 / rate) against the length. At
    /// a limit it calls stopRecording() and then CameraListener::recordEnd()
    /// on every listener in the list, in order.
    ///
    /// \throws Qel::Exception message 63 naming "isavi_GetAVISize",
    /// "isavi_AddFrame" or "is_GetActiveBuffer" (the camera was closed or
    /// reopened with another sensor under the recording): the timer is
    /// stopped and the recording stays open, as a paused one, which
    /// startRecording() resumes or stopRecording() closes; no recordEnd().
    /// A failure of stopRecording() at a limit passes through too, without
    /// recordEnd(). The exception leaves the host's event loop: a GUI host
    /// catches it in `wxApp::OnExceptionInMainLoop()`, a console host around
    /// its dispatch call.
    /// \param event The timer event; not read.
    void onTimer(wxTimerEvent& event);

    /// \brief Sets the master and the three colour gains.
    ///
    /// The values go to the camera unchanged, in the SDK's gain units; the
    /// SDK's `IS_IGNORE_PARAMETER` (-1) leaves a gain as it is. The module
    /// refuses nothing: the camera decides what it accepts, and the getters
    /// report what it holds. Clears the saved flag on success. Main thread.
    /// \throws Qel::Exception message 63 naming "is_SetHardwareGain"; the saved
    /// flag is then unchanged.
    void setGain(const int& master, const int& red, const int& green, const int& blue);

    /// \brief The camera's master gain, in the SDK's gain units.
    /// \return The value the camera reports. Never throws: a failed query is
    /// not detected, its (negative) status comes back as the value.
    double getGain() const;

    /// \brief The camera's red gain, in the SDK's gain units.
    /// \return The value the camera reports; never throws (see getGain()).
    double getRedGain() const;

    /// \brief The camera's green gain, in the SDK's gain units.
    /// \return The value the camera reports; never throws (see getGain()).
    double getGreenGain() const;

    /// \brief The camera's blue gain, in the SDK's gain units.
    /// \return The value the camera reports; never throws (see getGain()).
    double getBlueGain() const;

    /// \brief Switches the camera's automatic gain control on or off.
    ///
    /// The saved flag is not touched (and saveUserSettings() does store the
    /// switch). Main thread.
    /// \param on true: on; false: off.
    /// \throws Qel::Exception message 63 naming "is_SetAutoParameter".
    void setAutoGain(const bool& on);

    /// \brief Whether the camera's automatic gain control is on.
    /// \return true for any nonzero state the camera reports.
    /// \throws Qel::Exception message 63 naming "is_SetAutoParameter".
    bool isGainAuto() const;

    /// \brief Puts the gains back to the sensor's factory values from the
    /// configuration (Config::getMasterGain() and the colour gains).
    ///
    /// When the factory state is automatic gain (master gain -1), the master
    /// gain is left to the camera and automatic gain is switched on; otherwise
    /// the automatic gain switch is left as it is. The saved flag is not
    /// touched. Main thread.
    /// \throws Qel::Exception message 64 when a factory gain is missing or
    /// unreadable (nothing changed on the camera); message 63 naming
    /// "is_SetHardwareGain" or "is_SetAutoParameter" (the gains already set
    /// stay).
    void setDefaultGain();

    /// \brief Sets the exposure time.
    ///
    /// The value goes to the camera unchanged; its range depends on the frame
    /// rate and pixel clock, and the camera applies what it can: read the
    /// result back with getExposure(). The frame rate is left alone. Clears
    /// the saved flag on success. Main thread.
    /// \throws Qel::Exception message 63 naming "is_SetExposureTime"; the
    /// saved flag is then unchanged.
    void setExposure(const double& milliseconds);

    /// \brief The camera's exposure time.
    /// \return Milliseconds, as the camera reports them.
    /// \throws Qel::Exception message 63 naming "is_SetExposureTime".
    double getExposure() const;

    /// \brief Puts the exposure back to the sensor's factory value
    /// (Config::getExposure()). Clears the saved flag on success. Main thread.
    /// \throws Qel::Exception message 64 when the factory exposure is missing
    /// or unreadable (nothing changed); message 63 naming
    /// "is_SetExposureTime".
    void setDefaultExposure();

    /// \brief Sets the frame rate of live capture.
    ///
    /// The value goes to the camera unchanged; its range depends on the pixel
    /// clock and the area of interest, and the camera may shorten the
    /// exposure to fit: read both back. Clears the saved flag on success.
    /// Main thread.
    /// \throws Qel::Exception message 63 naming "is_SetFrameRate"; the saved
    /// flag is then unchanged.
    void setFrameRate(const double& fps);

    /// \brief The camera's frame rate.
    /// \return Frames per second, as the camera reports them.
    /// \throws Qel::Exception message 63 naming "is_SetFrameRate".
    double getFrameRate() const;

    /// \brief Puts the frame rate back to the camera's own default (there is
    /// no factory frame rate in the configuration). Clears the saved flag on
    /// success. Main thread.
    /// \throws Qel::Exception message 63 naming "is_SetFrameRate".
    void setDefaultFrameRate();

    /// \brief Sets the brightness, in the SDK's units, passed unchanged.
    /// Clears the saved flag on success. Main thread.
    /// \throws Qel::Exception message 63 naming "is_SetBrightness"; the saved
    /// flag is then unchanged.
    void setBrightness(const int& brightness);

    /// \brief The camera's brightness, in the SDK's units.
    /// \return The value the camera reports. Never throws: a failed query's
    /// status comes back as the value.
    int getBrightness() const;

    /// \brief Puts the brightness back to the sensor's factory value
    /// (Config::getBrightness()). Leaves the saved flag alone. Main thread.
    /// \throws Qel::Exception message 64 when the factory brightness is
    /// missing or unreadable (nothing changed); message 63 naming
    /// "is_SetBrightness".
    void setDefaultBrightness();

    /// \brief Sets the area of interest: the given size, aligned and centred
    /// on the sensor.
    ///
    /// The width and height are rounded down to multiples of the camera's
    /// position steps (a width below one step becomes 0); the area is then
    /// centred, its offsets rounded down to the steps too. The exposure and
    /// frame rate read before the change are written back after it. The size
    /// is not checked against the sensor: the camera refuses what does not
    /// fit. Live capture goes on, and getActiveImage() keeps the full sensor
    /// size; a recording already open keeps the frame size it started with.
    /// Clears the saved flag on success. Main thread.
    /// \param width Width in pixels.
    /// \param height Height in pixels.
    /// \throws Qel::Exception message 63 naming "is_SetExposureTime" or
    /// "is_SetFrameRate" (reading them; nothing changed), "is_SetImagePos"
    /// (offset at 0, 0 or the new size uncentred), "is_SetImageSize" (offset
    /// at 0, 0, old size kept), then "is_SetFrameRate" or
    /// "is_SetExposureTime" (writing them back; the new area stays). The
    /// saved flag is then unchanged.
    void setAOI(const int& width, const int& height);

    /// \brief Sets the area of interest to the full sensor at offset 0, 0.
    ///
    /// Unlike setAOI(), exposure and frame rate are not carried over, and the
    /// saved flag is not touched. Main thread.
    /// \throws Qel::Exception message 63 naming "is_SetAOI".
    void setDefaultAOI();

    /// \brief The width of the area of interest, as the camera holds it
    /// (after setAOI(), the aligned width).
    /// \return Pixels.
    /// \throws Qel::Exception message 63 naming "is_SetAOI".
    int getWidth() const;

    /// \brief The height of the area of interest, as the camera holds it.
    /// \return Pixels.
    /// \throws Qel::Exception message 63 naming "is_SetAOI".
    int getHeight() const;

    /// \brief The horizontal offset of the area of interest from the sensor's
    /// left edge.
    /// \return Pixels.
    /// \throws Qel::Exception message 63 naming "is_SetAOI".
    int getPosX() const;

    /// \brief The vertical offset of the area of interest from the sensor's
    /// top edge.
    /// \return Pixels.
    /// \throws Qel::Exception message 63 naming "is_SetAOI".
    int getPosY() const;

    /// \brief Starts the camera's automatic white balance and returns at once.
    ///
    /// The balancing runs in the camera, adjusting the colour gains, until
    /// stopWhiteBalance() (or the next init(), which switches it off). The
    /// module keeps no record of it and tells nobody. The saved flag is not
    /// touched. Main thread.
    /// \throws Qel::Exception message 63 naming "is_SetAutoParameter".
    void doWhiteBalance();

    /// \brief Stops the automatic white balance; the colour gains keep the
    /// values it reached (getRedGain() and the others report them).
    ///
    /// Stopping when nothing runs is harmless. The saved flag is not touched.
    /// Main thread.
    /// \throws Qel::Exception message 63 naming "is_SetAutoParameter".
    void stopWhiteBalance();

    /// \brief Stores the camera's current values as the user preset of this
    /// sensor in the configuration file, for the next init() to apply.
    ///
    /// Reads from the camera the four gains, the automatic gain switch, the
    /// brightness, exposure, frame rate and the area's width and height (not
    /// its offset: set-up centres the area again), and writes each with its
    /// Config setter: nine saves of the file. Sets the saved flag at the end.
    /// Main thread.
    /// \throws Qel::Exception message 63 naming "is_SetAutoParameter",
    /// "is_SetExposureTime", "is_SetFrameRate" or "is_SetAOI"; message 64 when
    /// the configuration has no element for this sensor; or the helper
    /// library's message when the file cannot be saved. The values already
    /// stored stay stored; the saved flag is then unchanged.
    void saveUserSettings();

    /// \brief Deletes the user preset of this sensor and reopens the camera
    /// with the factory values.
    ///
    /// A recording still open is stopped first (stopRecording(); its
    /// listeners hear no recordEnd()), and a running optimisation is waited
    /// for (at most about 6 s), so that the camera is not closed under
    /// either. Then the preset is removed from the file (one save), init()
    /// runs, and the saved flag is set. Main thread.
    /// \throws Qel::Exception from stopRecording(), message 64 when the
    /// configuration has no element for this sensor (nothing removed), the
    /// helper library's message when the file cannot be saved, or any failure
    /// of init(): the preset is then already gone and the saved flag not set.
    void resetUserSettings();

    /// \brief Opens a new AVI recording of the live picture, or resumes a
    /// paused one.
    ///
    /// **New recording** (none open): deletes an existing file of that name,
    /// opens the file with the area of interest's current width and height as
    /// its frame size (image quality 50), appends `listener` to the
    /// list of listeners and starts the recording timer. The first frame is
    /// written one interval later, by the first tick (onTimer()).
    ///
    /// **Resume** (a recording is open, paused or running): `listener`,
    /// `fileName` and `replayFrameRate` are ignored and the file is left as
    /// it is; only the limits and the rate change. A `length` of 0 or more
    /// still counts the time already recorded: remaining = remaining +
    /// (length − previous length), and a result of 0 or less means no length
    /// limit. A negative `length` removes the length limit.
    ///
    /// In both cases the timer runs one-shot at an interval of 1000 /
    /// frameRate milliseconds, truncated, re-armed by each tick: frames are
    /// taken only while the host's event loop runs. The length limit counts
    /// frames at their nominal duration (1 / frameRate), not wall-clock time:
    /// a recording of `length` L at R frames per second holds L × R frames or
    /// one more, since each frame subtracts 1 / R in floating point and the
    /// rounding can leave a sliver above 0 that takes one frame more.
    /// The recording ends by itself at a limit (CameraListener::recordEnd()
    /// follows), or when the host calls stopRecording().
    ///
    /// Main thread only (it starts a wxTimer). Neither saved flag is touched;
    /// Config::saveUserRecordSettings() keeps the same four numbers for the
    /// next run.
    /// \param listener Told of the recording's end at a limit. Not owned: it
    /// must stay alive while it is in the list (until removeListener()).
    /// Must not be null. Appended once per new recording, duplicates
    /// included, and not removed when the recording ends.
    /// \param fileName Path of the AVI file (UTF-8).
    /// \param length Length limit in seconds; 0 or less: no length limit.
    /// \param frameRate Frames per second taken into the file; 0 or less: the
    /// camera's current frame rate, read once now.
    /// \param maxSize Size limit in megabytes of 1024 kilobytes, truncated to
    /// a whole number; a tick that finds the file at or past it ends the
    /// recording without writing. Below 1: the first tick ends it, with no
    /// frame.
    /// \param replayFrameRate Frames per second written into the file for
    /// playback, independent of `frameRate`.
    /// \throws Qel::Exception message 63 naming "isavi_InitAVI", "is_SetAOI",
    /// "isavi_SetImageSize", "isavi_SetImageQuality", "isavi_OpenAVI",
    /// "isavi_SetFrameRate" or "isavi_StartAVI" (a new recording: nothing is
    /// left open, no listener appended, no timer; an existing file of that
    /// name is already deleted when the failure is "isavi_OpenAVI" or
    /// later); or "is_SetFrameRate" when `frameRate` asks for the camera's
    /// rate and it cannot be read: the recording is then open but its timer
    /// not started, as a paused one.
    void startRecording(CameraListener* listener, const hstring& fileName, const double& length,
                        const double& frameRate, const double& maxSize, const long& replayFrameRate);

    /// \brief Holds the recording: stops its timer, keeps the file open.
    ///
    /// startRecording() resumes it, stopRecording() closes it. Harmless when
    /// nothing records. Main thread only; never throws.
    void pauseRecording();

    /// \brief Ends the recording and closes the AVI file, complete and
    /// playable.
    ///
    /// Stops the timer first. Sends no CameraListener::recordEnd() (that is
    /// only for an end at a limit) and leaves the listener list alone. Main
    /// thread only.
    /// \throws Qel::Exception message 63 naming "isavi_StopAVI",
    /// "isavi_CloseAVI" or "isavi_ExitAVI" (also when no recording is open:
    /// the AVI tools then have no instance). The recording counts as closed
    /// and its timer is stopped; calling again repeats the three calls.
    void stopRecording();

    /// \brief Asks the camera for its fastest pixel clock and frame rate and
    /// applies them, on a worker thread.
    ///
    /// Starts a detached Thread and returns at once. The worker makes the
    /// SDK's search (it may take up to 5 s), sets the pixel clock and then the
    /// highest frame rate that it allows, and calls
    /// `listener->optimizeEnd()` on the worker thread when it is done,
    /// successful or not. It reports no error. Clears the saved flag at once,
    /// before the work is done.
    ///
    /// The worker drives the same camera without a lock: let optimizeEnd()
    /// arrive before exit() or init(). Destroying the Camera and
    /// resetUserSettings() wait for it. Main thread; never throws.
    /// \param listener Told when the work is over; may be null. Not owned: it
    /// must outlive the worker. It is not added to the list of recording
    /// listeners.
    void optimizeClock(CameraListener* listener);

    /// \name Ranges
    /// Additions to the module's original interface: what each setter's value
    /// may be, as the camera reports it now. The setters themselves still pass
    /// any value to the camera, which adjusts it; these let a host refuse a
    /// value before it reaches the camera. Each is one SDK query on the
    /// caller's thread and touches no setting and no saved flag.
    ///@{

    /// \brief The exposure setExposure() accepts, in milliseconds, for the
    /// current frame rate (a lower frame rate allows a longer exposure).
    /// \return The range, in the setting's units.
    /// \throws Qel::Exception message 63 naming "is_GetSettingRange".
    SettingRange getExposureRange() const;

    /// \brief The frame rate setFrameRate() accepts, in frames per second,
    /// for the current pixel clock and area of interest; the step is 0.
    /// \return The range, in the setting's units.
    /// \throws Qel::Exception message 63 naming "is_GetFrameTimeRange", also
    /// with status -1 when the camera reports a frame time of 0 or less.
    SettingRange getFrameRateRange() const;

    /// \brief The master gain setGain() accepts (IS_IGNORE_PARAMETER aside).
    /// \return The range, in the setting's units.
    /// \throws Qel::Exception message 63 naming "is_GetSettingRange".
    SettingRange getGainRange() const;

    /// \brief The red, green and blue gains setGain() accepts.
    /// \return The range, in the setting's units.
    /// \throws Qel::Exception message 63 naming "is_GetSettingRange".
    SettingRange getColorGainRange() const;

    /// \brief The brightness setBrightness() accepts.
    /// \return The range, in the setting's units.
    /// \throws Qel::Exception message 63 naming "is_GetSettingRange".
    SettingRange getBrightnessRange() const;

    /// \brief The widths setAOI() accepts, in pixels; the step is the one it
    /// rounds down to.
    /// \return The range, in the setting's units.
    /// \throws Qel::Exception message 63 naming "is_GetSettingRange".
    SettingRange getWidthRange() const;

    /// \brief The heights setAOI() accepts, in pixels.
    /// \return The range, in the setting's units.
    /// \throws Qel::Exception message 63 naming "is_GetSettingRange".
    SettingRange getHeightRange() const;
    ///@}

private:
    friend struct CameraInternals;
    Camera();

    static Camera* _instance;

    std::atomic<std::uint32_t> camHandle;  // read by the optimisation thread too
    bool color = true;
    int memId = 0;
    char* imageMemory = nullptr;
    // The SDK's sensor information record (80 bytes), read through the SDK's
    // own type inside the module so that hosts need no SDK header.
    alignas(4) unsigned char sensorInfo[80] = {};
    int aviId = 0;
    bool recording = false;
    double lengthSetting = -1.0;
    double remainingTime = -1.0;
    double recordFrameRate = -1.0;
    int sizeLimit = -1;
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
