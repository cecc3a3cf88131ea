// Interface texts in English and French.
#pragma once

#include <wx/string.h>

namespace viewer {

enum class Language { English, French };

enum class Txt {
    TitleNoCamera,
    TitleCamera,
    MenuFile,
    MenuQuit,
    MenuLanguage,
    MenuEnglish,
    MenuFrench,
    StatusSensor,
    StatusColor,
    StatusMono,
    StatusCameraRate,
    StatusDropped,
    NoticeStreamFailed,
    StatusPictureRate,
    StatusSaved,
    StatusUnsaved,
    PresetSaved,
    PresetUnsaved,
    BoxCamera,
    MasterGain,
    RedGain,
    GreenGain,
    BlueGain,
    AutoGain,
    Exposure,
    FrameRate,
    Brightness,
    BoxArea,
    Width,
    Height,
    Apply,
    FullSensor,
    Offset,
    BoxWhiteBalance,
    Start,
    Stop,
    Running,
    Off,
    BoxPixelClock,
    Optimize,
    Optimizing,
    BoxPresets,
    Save,
    Reset,
    BoxRecording,
    FileName,
    Length,
    RecordRate,
    MaxSize,
    ReplayRate,
    Pause,
    Resume,
    RecordIdle,
    RecordProgress,
    RecordNoLimit,
    RecordPaused,
    NoticeCameraError,
    NoticeConfigError,
    NoticeNoCamera,
    NoticeRecordEnd,
    NoticeRecordSaved,
    NoticeRecordFault,
    NoticeOptimized,
    NoticePresetSaved,
    NoticePresetReset,
    NoticeBusy,
    NoticeLanguage,
    BoxHistogram,
    ShowClipping,
    ClippedShares,
    Snapshot,
    MenuSnapshot,
    SnapshotTitle,
    Zoom,
    ZoomFit,
    StatusZoom,
    StatusPointer,
    StatusPointerGrey,
    NoticeSnapshotSaved,
    NoticeSnapshotFailed,
    RecordFrames,
    RecordLengthNote,
    RecordKept,
    DiskFull,
    DiskReadOnly,
    RecordNotFinished,
    NoticePresetHint,
    NoticePresetResetAtOpen,
    Count
};

// The language stored in the configuration: "French" or "English"; anything
// else ("System", shipped) follows the user's locale: French for fr_*.
Language languageFromName(const wxString& name);
wxString languageName(Language language);

void setLanguage(Language language);
Language language();

// The text in the current language; some hold %s or %.1f for wxString::Format.
wxString tr(Txt id);

// A number with the current language's decimal separator.
wxString number(double value, int decimals);

}  // namespace viewer
