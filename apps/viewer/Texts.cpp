#include "Texts.h"

#include <wx/intl.h>

#include <array>
#include <atomic>

namespace viewer {
namespace {

struct Pair {
    Txt id;
    const char* english;
    const char* french;
};

// UTF-8 literals; wxString::FromUTF8 keeps the accents whatever the locale.
constexpr std::array<Pair, static_cast<std::size_t>(Txt::Count)> kTexts{{
    {Txt::TitleNoCamera, "Nimbrel viewer \u2014 no camera", "Nimbrel : visionneuse \u2014 pas de cam\u00e9ra"},
    {Txt::TitleCamera, "Nimbrel viewer \u2014 %s", "Nimbrel : visionneuse \u2014 %s"},
    {Txt::MenuFile, "&File", "&Fichier"},
    {Txt::MenuQuit, "&Quit\tCtrl+Q", "&Quitter\tCtrl+Q"},
    {Txt::MenuLanguage, "&Language", "&Langue"},
    {Txt::MenuEnglish, "English", "English (anglais)"},
    {Txt::MenuFrench, "Fran\u00e7ais (French)", "Fran\u00e7ais"},
    {Txt::StatusSensor, "Sensor %s, %d \u00d7 %d", "Capteur %s, %d \u00d7 %d"},
    {Txt::StatusColor, "colour", "couleur"},
    {Txt::StatusMono, "monochrome", "monochrome"},
    {Txt::StatusCameraRate, "Camera: %s fps", "Cam\u00e9ra : %s i/s"},
    {Txt::StatusDropped, "%s dropped", "%s perdues"},
    {Txt::NoticeStreamFailed, "The live frames stopped: %s", "Les images en direct se sont arr\u00eat\u00e9es : %s"},
    {Txt::StatusPictureRate, "Picture: %s changes/s", "Image : %s changements/s"},
    {Txt::StatusSaved, "Settings saved", "R\u00e9glages enregistr\u00e9s"},
    {Txt::StatusUnsaved, "\u25cf Unsaved changes", "\u25cf Modifications non enregistr\u00e9es"},
    {Txt::PresetSaved, "Saved", "Enregistr\u00e9s"},
    {Txt::PresetUnsaved, "\u25cf Unsaved", "\u25cf Non enregistr\u00e9s"},
    {Txt::BoxCamera, "Camera", "Cam\u00e9ra"},
    {Txt::MasterGain, "Master gain", "Gain ma\u00eetre"},
    {Txt::RedGain, "Red gain", "Gain rouge"},
    {Txt::GreenGain, "Green gain", "Gain vert"},
    {Txt::BlueGain, "Blue gain", "Gain bleu"},
    {Txt::AutoGain, "Automatic gain", "Gain automatique"},
    {Txt::Exposure, "Exposure (ms)", "Exposition (ms)"},
    {Txt::FrameRate, "Frame rate (fps)", "Cadence (i/s)"},
    {Txt::Brightness, "Brightness", "Luminosit\u00e9"},
    {Txt::BoxArea, "Area of interest", "Zone d'int\u00e9r\u00eat"},
    {Txt::Width, "Width", "Largeur"},
    {Txt::Height, "Height", "Hauteur"},
    {Txt::Apply, "Apply", "Appliquer"},
    {Txt::FullSensor, "Full sensor", "Capteur entier"},
    {Txt::Offset, "Offset %d, %d", "D\u00e9calage %d, %d"},
    {Txt::BoxWhiteBalance, "White balance", "Balance des blancs"},
    {Txt::Start, "Start", "D\u00e9marrer"},
    {Txt::Stop, "Stop", "Arr\u00eater"},
    {Txt::Running, "running", "en cours"},
    {Txt::Off, "off", "arr\u00eat\u00e9e"},
    {Txt::BoxPixelClock, "Pixel clock", "Horloge pixel"},
    {Txt::Optimize, "Optimise", "Optimiser"},
    {Txt::Optimizing, "Optimising\u2026", "Optimisation\u2026"},
    {Txt::BoxPresets, "Presets", "Pr\u00e9r\u00e9glages"},
    {Txt::Save, "Save", "Enregistrer"},
    {Txt::Reset, "Reset", "R\u00e9initialiser"},
    {Txt::BoxRecording, "Recording", "Enregistrement vid\u00e9o"},
    {Txt::FileName, "File", "Fichier"},
    {Txt::Length, "Length (s)", "Dur\u00e9e (s)"},
    {Txt::RecordRate, "Frame rate (fps)", "Cadence (i/s)"},
    {Txt::MaxSize, "Maximum size (MB)", "Taille maximale (Mo)"},
    {Txt::ReplayRate, "Replay rate (fps)", "Cadence de lecture (i/s)"},
    {Txt::Pause, "Pause", "Pause"},
    {Txt::Resume, "Resume", "Reprendre"},
    {Txt::RecordIdle, "Not recording", "Pas d'enregistrement"},
    {Txt::RecordProgress, "%s s of %s s", "%s s sur %s s"},
    {Txt::RecordNoLimit, "%s s (no length limit)", "%s s (sans limite de dur\u00e9e)"},
    {Txt::RecordPaused, "Paused at %s s", "En pause \u00e0 %s s"},
    {Txt::NoticeCameraError, "Camera error: %s", "Erreur de la cam\u00e9ra : %s"},
    {Txt::NoticeConfigError, "The configuration could not be loaded: %s",
     "La configuration n'a pas pu \u00eatre charg\u00e9e : %s"},
    {Txt::NoticeNoCamera, "No camera could be opened: %s", "Aucune cam\u00e9ra n'a pu \u00eatre ouverte : %s"},
    {Txt::NoticeRecordEnd, "Recording finished by the camera (length or size limit reached): %s",
     "Enregistrement termin\u00e9 par la cam\u00e9ra (dur\u00e9e ou taille maximale atteinte) : %s"},
    {Txt::NoticeRecordSaved, "Recording saved: %s", "Enregistrement sauvegard\u00e9 : %s"},
    {Txt::NoticeRecordFault, "The recording was stopped after an error: %s",
     "L'enregistrement a \u00e9t\u00e9 arr\u00eat\u00e9 apr\u00e8s une erreur : %s"},
    {Txt::NoticeOptimized, "Pixel clock optimised: %s fps", "Horloge pixel optimis\u00e9e : %s i/s"},
    {Txt::NoticePresetSaved, "Camera settings saved as the preset.",
     "R\u00e9glages de la cam\u00e9ra enregistr\u00e9s comme pr\u00e9r\u00e9glage."},
    {Txt::NoticePresetReset, "Preset removed; factory settings applied.",
     "Pr\u00e9r\u00e9glage supprim\u00e9 ; r\u00e9glages d'usine appliqu\u00e9s."},
    {Txt::NoticeBusy, "Wait for the recording and the optimisation to finish first.",
     "Attendez d'abord la fin de l'enregistrement et de l'optimisation."},
    {Txt::NoticeLanguage, "Language: English", "Langue : fran\u00e7ais"},
    {Txt::BoxHistogram, "Histogram", "Histogramme"},
    {Txt::ShowClipping, "Show clipped pixels", "Montrer les pixels satur\u00e9s"},
    {Txt::ClippedShares, "Clipped: %s %% at 0, %s %% at 255", "Satur\u00e9s : %s %% \u00e0 0, %s %% \u00e0 255"},
    {Txt::Snapshot, "Snapshot", "Instantan\u00e9"},
    {Txt::MenuSnapshot, "Save &snapshot\u2026\tCtrl+S", "Enregistrer un &instantan\u00e9\u2026\tCtrl+S"},
    {Txt::SnapshotTitle, "Save the picture", "Enregistrer l'image"},
    {Txt::Zoom, "Zoom", "Agrandissement"},
    {Txt::ZoomFit, "Fit", "Ajust\u00e9"},
    {Txt::StatusZoom, "Zoom %s", "Agrandissement %s"},
    {Txt::StatusPointer, "pixel %d, %d: R %d G %d B %d", "pixel %d, %d : R %d V %d B %d"},
    {Txt::StatusPointerGrey, "pixel %d, %d: %d", "pixel %d, %d : %d"},
    {Txt::NoticeSnapshotSaved, "Snapshot saved: %s", "Instantan\u00e9 enregistr\u00e9 : %s"},
    {Txt::NoticeSnapshotFailed, "The snapshot could not be saved: %s",
     "L'instantan\u00e9 n'a pas pu \u00eatre enregistr\u00e9 : %s"},
    {Txt::RecordFrames, "%s (%llu frames)", "%s (%llu images)"},
    {Txt::RecordLengthNote,
     "%s s at %s fps hold %llu frames or one more: the length is counted down in steps of 1/%s s.",
     "%s s \u00e0 %s i/s donnent %llu images ou une de plus : la dur\u00e9e est d\u00e9compt\u00e9e par pas de 1/%s "
     "s."},
    {Txt::RecordKept, "%s keeps %llu frames (%s s at %s fps).", "%s garde %llu images (%s s \u00e0 %s i/s)."},
    {Txt::DiskFull, "The file system holding %s is full (%llu kB left).",
     "Le syst\u00e8me de fichiers de %s est plein (%llu ko libres)."},
    {Txt::DiskReadOnly, "The file system holding %s is read-only.",
     "Le syst\u00e8me de fichiers de %s est en lecture seule."},
    {Txt::RecordNotFinished, "The file could not be finished: %s", "Le fichier n'a pas pu \u00eatre termin\u00e9 : %s"},
    {Txt::NoticePresetHint,
     "A user preset is stored for %s and may be why: Presets \u25b8 Reset goes back to the factory values.",
     "Un pr\u00e9r\u00e9glage est enregistr\u00e9 pour %s et peut en \u00eatre la cause : Pr\u00e9r\u00e9glages \u25b8 "
     "R\u00e9initialiser revient aux r\u00e9glages d'usine."},
    {Txt::NoticePresetResetAtOpen,
     "The camera did not open with its preset: the preset was removed and the factory settings applied.",
     "La cam\u00e9ra ne s'ouvrait pas avec son pr\u00e9r\u00e9glage : il a \u00e9t\u00e9 supprim\u00e9 et les "
     "r\u00e9glages d'usine appliqu\u00e9s."},
}};

constexpr bool inOrder() {
    for (std::size_t i = 0; i < kTexts.size(); ++i)
        if (static_cast<std::size_t>(kTexts[i].id) != i) return false;
    return true;
}
static_assert(inOrder(), "the text table follows the order of Txt");

std::atomic<Language> current{Language::English};

}  // namespace

Language languageFromName(const wxString& name) {
    if (name.IsSameAs("French", false)) return Language::French;
    if (name.IsSameAs("English", false)) return Language::English;
    // Not chosen yet ("System" in the shipped file): the user's locale decides.
    const int system = wxLocale::GetSystemLanguage();
    const bool french = system != wxLANGUAGE_UNKNOWN && system != wxLANGUAGE_DEFAULT &&
                        wxLocale::GetLanguageCanonicalName(system).StartsWith("fr");
    return french ? Language::French : Language::English;
}

wxString languageName(Language language) { return language == Language::French ? "French" : "English"; }

void setLanguage(Language language) { current = language; }

Language language() { return current; }

wxString tr(Txt id) {
    const Pair& pair = kTexts[static_cast<std::size_t>(id)];
    return wxString::FromUTF8(current == Language::French ? pair.french : pair.english);
}

wxString number(double value, int decimals) {
    wxString text = wxString::FromCDouble(value, decimals);
    if (current == Language::French) text.Replace(".", ",");
    return text;
}

}  // namespace viewer
