// A recording that a failure ended: the module leaves it paused with its
// file open when a tick fails (a frame or the size query). A host stops it so
// that the file is finished, trying once more after the event loop ran when
// the first stop fails too, and tells the user what the file kept and why,
// in words: a full or read-only file system above all.
#pragma once

#include <Nimbrel_model/Camera.h>

#include <cstdint>
#include <functional>
#include <string>

namespace host {

// Camera::stopRecording; "" when it succeeded, else the module's message.
std::string tryStopRecording(Nimbrel_model::Camera& camera);

// Stops the recording until the file is closed: a failed stop leaves it open
// and a new stop repeats the whole sequence, so it is tried again (up to four
// times, `between` run before each new try). "" once closed, else the last
// failure.
std::string stopUntilClosed(Nimbrel_model::Camera& camera, const std::function<void()>& between = {});
// The same, the last failure going on as the module's Qel::Exception.
void stopUntilClosedOrThrow(Nimbrel_model::Camera& camera, const std::function<void()>& between = {});

enum class DiskState { Fine, Full, ReadOnly };

struct RecordingKept {
    std::string path;
    std::uint64_t frames = 0;  // frames in the file
    double seconds = 0.0;      // frames at the recording rate
    double fps = 0.0;          // the recording rate
    DiskState disk = DiskState::Fine;
    std::string folder;           // the file's folder, where the disk was looked at
    std::uint64_t bytesLeft = 0;  // on the file's file system
};

// A file system with less than this left counts as full: a frame that did
// not fit, or an index, needs more.
constexpr std::uint64_t kFullBelowBytes = 1024 * 1024ULL;

// The frames of the file at `path` (recorded at `fps`) and the state of its
// file system (statvfs on its folder).
RecordingKept recordingKept(const std::string& path, double fps);

// One line in English for a console host: "the recording stopped: <failure>;
// <file> keeps N frames (S s at R fps)", then the file system's state, then,
// when `stopProblem` is not empty, that the file could not be finished.
std::string describeLoss(const std::string& failure, const RecordingKept& kept, const std::string& stopProblem);

}  // namespace host
