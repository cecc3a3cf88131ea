#include "FileIO.h"

#include "Temporaries.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "Qel/Qel.h"

namespace Qel::detail {
namespace {

std::string errorText(int error) { return std::strerror(error); }

// A settings file is a few kilobytes; anything near this is not one.
constexpr long long kMaxReadBytes = 64LL * 1024 * 1024;

std::string notRegular(mode_t mode) {
    const char* kind = S_ISDIR(mode)    ? "a directory"
                       : S_ISFIFO(mode) ? "a FIFO (named pipe)"
                       : S_ISCHR(mode)  ? "a character device"
                       : S_ISBLK(mode)  ? "a block device"
                       : S_ISSOCK(mode) ? "a socket"
                                        : "not a file";
    return std::string("it is ") + kind + ", not a regular file";
}

std::string tooLarge(long long bytes) {
    return "it holds " + std::to_string(bytes) + " bytes, more than the 64 MiB a settings file may have";
}

[[noreturn]] void fail(const std::string& path, const char* step, int error) {
    throw Exception("Cannot save '" + path + "': " + step + ": " + errorText(error), Exception::Error);
}

// For the step that just failed: errno is read before anything can change it.
[[noreturn]] void failWithErrno(const std::string& path, const char* step) { fail(path, step, errno); }

// Closes a descriptor on every path out of a scope.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }
    // Closes now so that a late write error (NFS, quota) is seen.
    int close() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result;
    }

private:
    int fd_;
};

// The temporary file of a save: removed unless it was renamed into place.
class TemporaryFile {
public:
    explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (!path_.empty()) ::unlink(path_.c_str());
    }
    const std::string& path() const { return path_; }
    void release() { path_.clear(); }

private:
    std::string path_;
};

bool writeAll(int fd, const std::string& content) {
    const char* data = content.data();
    std::size_t left = content.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, left);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    return true;
}

void syncFolder(const std::string& path, const std::string& folder) {
    const Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() < 0) failWithErrno(path, "the file was replaced but its folder could not be opened");
    // Some file systems cannot flush a folder; the rename is then as durable as they allow.
    if (::fsync(dir.get()) != 0 && errno != EINVAL && errno != ENOTSUP) {
        failWithErrno(path, "the file was replaced but its folder could not be flushed");
    }
}

}  // namespace

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string resolveLink(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    std::vector<char> resolved(PATH_MAX + 1);
    if (::realpath(path.c_str(), resolved.data()) == nullptr) return path;
    return resolved.data();
}

ReadResult readWholeFile(const std::string& path) {
    ReadResult result;
    // Non-blocking, so that a FIFO with no writer cannot hang the caller in
    // open(); what is not a regular file is refused before any read.
    const Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0) {
        const int error = errno;
        result.status = error == ENOENT ? ReadStatus::Missing : ReadStatus::Failed;
        result.error =
            ::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode) ? notRegular(info.st_mode) : errorText(error);
        return result;
    }
    if (!S_ISREG(info.st_mode)) {
        result.error = notRegular(info.st_mode);
        return result;
    }
    if (info.st_size > kMaxReadBytes) {
        result.error = tooLarge(static_cast<long long>(info.st_size));
        return result;
    }
    // Straight into the text, in steps of the file's size: a large scratch
    // buffer per load cost more than the read of a small file.
    const std::size_t step = info.st_size > 0 ? static_cast<std::size_t>(info.st_size) + 1 : 4096;
    for (;;) {
        const std::size_t used = result.content.size();
        if (used > static_cast<std::size_t>(kMaxReadBytes)) {  // grew while being read
            result.error = tooLarge(static_cast<long long>(used));
            result.content.clear();
            return result;
        }
        result.content.resize(used + step);
        const ssize_t got = ::read(fd.get(), &result.content[used], step);
        result.content.resize(used + (got > 0 ? static_cast<std::size_t>(got) : 0));
        if (got < 0) {
            if (errno == EINTR) continue;
            result.status = ReadStatus::Failed;
            result.error = errorText(errno);
            result.content.clear();
            return result;
        }
        if (got == 0) break;
    }
    result.status = ReadStatus::Ok;
    return result;
}

void replaceFileAtomically(const std::string& requested, const std::string& content, bool sync) {
    const std::string path = resolveLink(requested);
    const std::string folder = folderOf(path);

    mode_t mode = 0644;
    struct stat old {};
    const bool existed = ::stat(path.c_str(), &old) == 0;
    if (existed) {
        if (S_ISDIR(old.st_mode)) fail(requested, "the path is a folder", EISDIR);
        mode = old.st_mode & 07777;
    }

    // Same folder as the target, so the final rename cannot cross file systems.
    const LockedTemporary created = createLockedTemporary(path);
    Descriptor fd(created.fd);
    if (fd.get() < 0) failWithErrno(requested, "cannot create a temporary file beside it");
    TemporaryFile temporary(created.name);
    // The lock tells other saves' clean-up that this temporary is alive; it
    // outlasts the close below, until the rename.
    const Descriptor lock(created.lock);

    if (!writeAll(fd.get(), content)) failWithErrno(requested, "cannot write the temporary file");
    if (::fchmod(fd.get(), mode) != 0) failWithErrno(requested, "cannot set the file's permissions");
    if (existed) {
        // Keeps the owner when run with the rights to; otherwise the saver owns it.
        [[maybe_unused]] const int ignored = ::fchown(fd.get(), old.st_uid, old.st_gid);
    }
    if (::fsync(fd.get()) != 0) failWithErrno(requested, "cannot flush the temporary file");
    if (fd.close() != 0) failWithErrno(requested, "cannot close the temporary file");
    if (::rename(temporary.path().c_str(), path.c_str()) != 0) {
        failWithErrno(requested, "cannot replace the file");
    }
    temporary.release();

    if (sync) syncFolder(requested, folder);
    removeStaleTemporaries(path);
}

}  // namespace Qel::detail
