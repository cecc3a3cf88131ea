#include "Temporaries.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <memory>
#include <vector>

#include "FileIO.h"

namespace Qel::detail {
namespace {

const std::size_t kRandomPart = 6;  // mkstemp's XXXXXX

std::string prefixOf(const std::string& path) { return "." + nameOf(path) + "."; }

bool isTemporaryName(const std::string& entry, const std::string& prefix) {
    if (entry.size() != prefix.size() + kRandomPart || entry.compare(0, prefix.size(), prefix) != 0) return false;
    return std::all_of(entry.begin() + static_cast<std::ptrdiff_t>(prefix.size()), entry.end(),
                       [](unsigned char c) { return std::isalnum(c) != 0; });
}

// Whether `name` in `folder` is still the file open as `fd`.
bool stillNamed(int folder, const char* name, int fd) {
    struct stat held {
    }, named{};
    return ::fstat(fd, &held) == 0 && ::fstatat(folder, name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
           held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

}  // namespace

LockedTemporary createLockedTemporary(const std::string& path) {
    const std::string pattern = folderOf(path) + "/" + prefixOf(path) + "XXXXXX";
    // A clean-up can take a temporary between its creation and its lock; it
    // is then gone, and another one is made. Three tries are plenty.
    for (int attempt = 0; attempt < 3; ++attempt) {
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        LockedTemporary created;
        created.fd = ::mkstemp(buffer.data());
        if (created.fd < 0) return {};
        created.lock = ::open(buffer.data(), O_RDONLY | O_CLOEXEC);
        if (created.lock >= 0 && ::flock(created.lock, LOCK_EX) == 0 &&
            stillNamed(AT_FDCWD, buffer.data(), created.lock)) {
            created.name = buffer.data();
            return created;
        }
        const int error = created.lock < 0 ? errno : 0;
        if (created.lock >= 0) ::close(created.lock);
        ::close(created.fd);
        if (error != 0 && error != ENOENT) {
            errno = error;
            return {};
        }
    }
    errno = EAGAIN;
    return {};
}

void removeStaleTemporaries(const std::string& requested) {
    const std::string path = resolveLink(requested);
    const std::string prefix = prefixOf(path);
    const std::unique_ptr<DIR, int (*)(DIR*)> folder(::opendir(folderOf(path).c_str()), ::closedir);
    if (!folder) return;
    const int folderFd = ::dirfd(folder.get());
    while (const dirent* entry = ::readdir(folder.get())) {
        if (!isTemporaryName(entry->d_name, prefix)) continue;
        const int fd = ::openat(folderFd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) continue;
        // Locked: a save is still writing it. Otherwise its writer is gone;
        // unlink it only if the name still means the file that is locked here.
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && stillNamed(folderFd, entry->d_name, fd))
            ::unlinkat(folderFd, entry->d_name, 0);
        ::close(fd);
    }
}

}  // namespace Qel::detail
