#include "RecordingLoss.h"

#include "AviFrameCounter.h"
#include "Format.h"

#include <Qel/Qel.h>

#include <sys/statvfs.h>

#include <filesystem>

namespace host {

std::string tryStopRecording(Nimbrel_model::Camera& camera) {
    try {
        camera.stopRecording();
        return "";
    } catch (const Qel::Exception& error) {
        return error.getMessage().str();
    }
}

void stopUntilClosedOrThrow(Nimbrel_model::Camera& camera, const std::function<void()>& between) {
    for (int attempt = 1;; ++attempt) {
        try {
            camera.stopRecording();
            return;
        } catch (const Qel::Exception&) {
            if (attempt == 4) throw;
        }
        if (between) between();
    }
}

std::string stopUntilClosed(Nimbrel_model::Camera& camera, const std::function<void()>& between) {
    try {
        stopUntilClosedOrThrow(camera, between);
        return "";
    } catch (const Qel::Exception& error) {
        return error.getMessage().str();
    }
}

RecordingKept recordingKept(const std::string& path, double fps) {
    RecordingKept kept;
    kept.path = path;
    kept.fps = fps;
    // Counted chunk by chunk: an unfinished file declares none.
    kept.frames = AviFrameCounter(path).update();
    kept.seconds = fps > 0.0 ? static_cast<double>(kept.frames) / fps : 0.0;
    kept.folder = std::filesystem::path(path).parent_path().string();
    struct statvfs disk {};
    if (statvfs(kept.folder.empty() ? "." : kept.folder.c_str(), &disk) == 0) {
        kept.bytesLeft = static_cast<std::uint64_t>(disk.f_bavail) * disk.f_frsize;
        if (disk.f_flag & ST_RDONLY)
            kept.disk = DiskState::ReadOnly;
        else if (kept.bytesLeft < kFullBelowBytes)
            kept.disk = DiskState::Full;
    }
    return kept;
}

std::string describeLoss(const std::string& failure, const RecordingKept& kept, const std::string& stopProblem) {
    std::string text = "the recording stopped: " + failure + "; " + kept.path + " keeps " +
                       std::to_string(kept.frames) + " frames (" + fixed(kept.seconds, 2) + " s at " +
                       number(kept.fps) + " fps)";
    if (kept.disk == DiskState::Full)
        text += "; the file system holding " + kept.folder + " is full (" + std::to_string(kept.bytesLeft / 1024) +
                " kB left)";
    if (kept.disk == DiskState::ReadOnly) text += "; the file system holding " + kept.folder + " is read-only";
    if (!stopProblem.empty()) text += "; the file could not be finished: " + stopProblem;
    return text;
}

}  // namespace host
