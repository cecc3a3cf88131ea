// The hidden temporary files of atomic saves: ".<name>.XXXXXX" beside the
// file. A save holds an exclusive flock on its temporary until the rename, so
// an unlocked temporary belongs to a save that died before finishing.
#pragma once

#include <string>

namespace Qel::detail {

// A new temporary: `fd` to write it, `lock` a read-only descriptor holding
// its lock (closed after the rename, it reports no write on the saved file).
// On failure `fd` is -1 and errno says why.
struct LockedTemporary {
    int fd = -1;
    int lock = -1;
    std::string name;
};
LockedTemporary createLockedTemporary(const std::string& path);

// Removes the temporaries of `path` that no live save holds. Best effort:
// never throws, and never touches `path` itself or another file.
void removeStaleTemporaries(const std::string& path);

}  // namespace Qel::detail
