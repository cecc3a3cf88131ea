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

std::string errorText(int error) {
    return std::strerror(error);
}

[[noreturn]] void fail(const std::string& path, const char* step, int error) {
    throw Exception("Cannot save '" + path + "': " + step + ": " + errorText(error),
                    Exception::Error);
}

// For the step that just failed: errno is read before anything can change it.
[[noreturn]] void failWithErrno(const std::string& path, const char* step) {
    fail(path, step, errno);
}

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
    const Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        result.status = errno == ENOENT ? ReadStatus::Missing : ReadStatus::Failed;
        result.error = errorText(errno);
        return result;
    }
    // Straight into the text, in steps of the file's size: a large scratch
    // buffer per load cost more than the read of a small file.
    struct stat info {};
    const std::size_t step =
        ::fstat(fd.get(), &info) == 0 && info.st_size > 0 ? static_cast<std::size_t>(info.st_size) + 1 : 4096;
    for (;;) {
        const std::size_t used = result.content.size();
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
