#include "RecordingGuard.h"

#include "Format.h"
#include "RiffChunks.h"
#include "WriteProbe.h"

#include <wx/timer.h>

#include <sys/statvfs.h>

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

namespace host {

namespace {

namespace fs = std::filesystem;

// What the writer adds at the end per frame: an idx1 entry (16 bytes) and an
// OpenDML standard index entry (8 bytes).
constexpr std::uint64_t kIndexBytesPerFrame = 24;
// Headers rewritten at the end, and the file system's own rounding.
constexpr std::uint64_t kFixedBytes = std::uint64_t{160} * 1024;
// Frames that may reach the file before the next look (the one this tick
// writes, one more for safety) and that the index must cover too.
constexpr std::uint64_t kFramesAhead = 3;
// Before a frame was seen, one frame at a tenth of a byte per pixel: a
// Motion-JPEG picture at the writer's quality takes a few hundredths on test
// scenes and rarely above a tenth on real ones.
constexpr double kGuessBytesPerPixel = 0.1;

std::uint64_t freeBytes(const std::string& folder) {
    struct statvfs disk {};
    if (statvfs(folder.c_str(), &disk) != 0) return UINT64_MAX;  // unknown: the writer will tell
    return static_cast<std::uint64_t>(disk.f_bavail) * disk.f_frsize;
}

std::uint64_t reserve(std::uint64_t frames, std::uint64_t frameBytes, std::uint64_t framesAhead) {
    return kFixedBytes + kIndexBytesPerFrame * (frames + framesAhead) + framesAhead * (frameBytes + 8);
}

std::uint64_t guessFrame(int width, int height) {
    const double pixels = static_cast<double>(std::max(width, 1)) * static_cast<double>(std::max(height, 1));
    return static_cast<std::uint64_t>(pixels * kGuessBytesPerPixel);
}

std::string kilobytes(std::uint64_t bytes) { return std::to_string(bytes / 1024) + " kB"; }

}  // namespace

DiskRoom roomToStart(const std::string& path, int width, int height) {
    DiskRoom room;
    room.folder = folderOf(path);
    room.bytesFree = freeBytes(room.folder);
    std::error_code error;
    if (fs::is_regular_file(path, error)) {
        const auto size = fs::file_size(path, error);
        if (!error && room.bytesFree != UINT64_MAX) room.bytesFree += size;
    }
    room.bytesNeeded = reserve(0, guessFrame(width, height), 1);
    return room;
}

std::string startRefusal(const DiskRoom& room) {
    if (room.enough()) return "";
    return "the disk holding " + room.folder + " is nearly full: " + kilobytes(room.bytesFree) +
           " left, and a recording there needs at least " + kilobytes(room.bytesNeeded) +
           " to be finished with its index";
}

RecordingGuard::RecordingGuard(wxEvtHandler& camera, std::string path, int width, int height,
                               std::function<void()> onShort)
    : camera_(camera),
      path_(std::move(path)),
      firstFrameGuess_(guessFrame(width, height)),
      onShort_(std::move(onShort)) {
    wxEvtHandler::AddFilter(this);
}

RecordingGuard::~RecordingGuard() { wxEvtHandler::RemoveFilter(this); }

DiskRoom RecordingGuard::measure() {
    offset_ = walkRiffChunks(path_, offset_, [this](const RiffChunk& chunk, std::istream&) {
        if (chunk.isVideoFrame()) {
            ++frames_;
            largestFrame_ = std::max<std::uint64_t>(largestFrame_, chunk.size);
        }
        return true;
    });
    DiskRoom room;
    room.folder = folderOf(path_);
    room.bytesFree = freeBytes(room.folder);
    // The writer holds frames in its buffer before they reach the file (256 kB
    // at a time here): those the ticks so far wrote and the file lacks.
    const std::uint64_t written = ticks_ > 0 ? ticks_ - 1 : 0;
    const std::uint64_t buffered = written > frames_ ? written - frames_ : 0;
    const std::uint64_t frameBytes = largestFrame_ ? largestFrame_ : firstFrameGuess_;
    room.bytesNeeded = reserve(frames_ + buffered, frameBytes, buffered + (largestFrame_ ? kFramesAhead : 1));
    return room;
}

int RecordingGuard::FilterEvent(wxEvent& event) {
    if (tripped_ || event.GetEventType() != wxEVT_TIMER || event.GetEventObject() != &camera_) return Event_Skip;
    ++ticks_;
    room_ = measure();
    if (room_.enough()) return Event_Skip;
    tripped_ = true;
    onShort_();
    return Event_Processed;
}

std::string RecordingGuard::stoppedMessage(double fps) const {
    std::uint64_t frames = 0;
    walkRiffChunks(path_, 0, [&frames](const RiffChunk& chunk, std::istream&) {
        if (chunk.isVideoFrame()) ++frames;
        return true;
    });
    const double seconds = fps > 0.0 ? static_cast<double>(frames) / fps : 0.0;
    return "the disk holding " + room_.folder + " was nearly full (" + kilobytes(room_.bytesFree) +
           " left): the recording was stopped so that " + path_ + " could be finished; it keeps " +
           std::to_string(frames) + " frames (" + fixed(seconds, 2) + " s at " + number(fps) + " fps)";
}

}  // namespace host
