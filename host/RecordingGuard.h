// A recording that the file system runs out of under it is no finished file:
// the writer cannot add the index, nor the last frame. The guard looks at the
// free space before each frame and keeps a reserve that the index and the
// next frames need, measured from the frames written so far; below it the
// host stops the recording while the file can still be finished.
#pragma once

#include <wx/event.h>
#include <wx/eventfilter.h>

#include <cstdint>
#include <functional>
#include <string>

namespace host {

struct DiskRoom {
    std::string folder;             // the recording's folder
    std::uint64_t bytesFree = 0;    // for this user, on its file system
    std::uint64_t bytesNeeded = 0;  // the reserve
    bool enough() const { return bytesFree >= bytesNeeded; }
};

// The reserve a recording into `path` needs before its first frame, for
// pictures of `width` x `height`. An existing file there counts as free,
// since starting replaces it.
DiskRoom roomToStart(const std::string& path, int width, int height);

// "" when there is room to start; else why not, in a sentence.
std::string startRefusal(const DiskRoom& room);

class RecordingGuard : public wxEventFilter {
public:
    // Watches the recording timer of `camera` (the event handler that owns it)
    // writing `path`. onShort runs once, instead of the tick that would have
    // written the next frame, when the reserve is no longer free; it stops the
    // recording.
    RecordingGuard(wxEvtHandler& camera, std::string path, int width, int height, std::function<void()> onShort);
    ~RecordingGuard() override;
    RecordingGuard(const RecordingGuard&) = delete;
    RecordingGuard& operator=(const RecordingGuard&) = delete;

    int FilterEvent(wxEvent& event) override;
    // The room when the guard stopped the recording.
    bool tripped() const { return tripped_; }
    const DiskRoom& room() const { return room_; }
    // The sentence a host says after it stopped the recording: "the disk
    // holding DIR was nearly full (N kB left): the recording was stopped so
    // that PATH could be finished; it keeps F frames (S s at R fps)".
    std::string stoppedMessage(double fps) const;

private:
    DiskRoom measure();

    wxEvtHandler& camera_;
    std::string path_;
    std::uint64_t firstFrameGuess_;
    std::uint64_t offset_ = 0;  // where the chunks not yet seen begin
    std::uint64_t frames_ = 0;  // complete in the file
    std::uint64_t largestFrame_ = 0;
    std::uint64_t ticks_ = 0;  // of the recording timer, this one included
    std::function<void()> onShort_;
    bool tripped_ = false;
    DiskRoom room_;
};

}  // namespace host
