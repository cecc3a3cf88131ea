#include "WriteProbe.h"

#include "RecordingLoss.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace host {

namespace {

WriteProblem problem(int error, const std::string& prefix = "") { return {error, prefix + std::strerror(error)}; }

// Opens for writing without truncating; a file made here is removed again.
WriteProblem tryFile(const std::string& path) {
    struct stat info {};
    const bool existed = ::stat(path.c_str(), &info) == 0;
    if (existed && S_ISDIR(info.st_mode)) return problem(EISDIR);
    const int fd = existed ? ::open(path.c_str(), O_WRONLY | O_CLOEXEC)
                           : ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) return problem(errno);
    int error = 0;
    if (!existed && ::write(fd, "", 1) != 1) error = errno;
    ::close(fd);
    if (!existed) ::unlink(path.c_str());
    return error ? problem(error) : WriteProblem{};
}

}  // namespace

std::string folderOf(const std::string& path) {
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    return parent.empty() ? "." : parent.string();
}

WriteProblem probeWrite(const std::string& path) {
    const std::string folder = folderOf(path);
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) {
        const int error = errno;
        return problem(error, error == ENOENT ? "the folder " + folder + " does not exist: " : folder + ": ");
    }
    if (!S_ISDIR(info.st_mode)) return problem(ENOTDIR, folder + ": ");
    if (WriteProblem found = tryFile(path); found.error) return found;
    struct statvfs disk {};
    // A file that failed part way leaves a little room: less than a frame needs.
    if (::statvfs(folder.c_str(), &disk) == 0 &&
        static_cast<std::uint64_t>(disk.f_bavail) * disk.f_frsize < kFullBelowBytes)
        return problem(ENOSPC);
    return {};
}

WriteFailure::WriteFailure(const std::string& what, const std::string& path, const WriteProblem& problem,
                           const std::string& detail)
    : std::runtime_error("cannot write the " + what + " " + path + ": " + problem.reason +
                         (detail.empty() ? "" : " (" + detail + ")")),
      error_(problem.error),
      detail_(detail) {}

void explainWriteFailure(const std::string& what, const std::string& path, const std::string& detail) {
    const WriteProblem found = probeWrite(path);
    if (found.error) throw WriteFailure(what, path, found, detail);
}

}  // namespace host
