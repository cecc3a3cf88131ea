// The hidden temporary files of atomic saves: ".<name>.XXXXXX" beside the
// file. A save holds an exclusive flock on its temporary until the rename, so
// an unlocked temporary belongs to a save that died before finishing.
#pragma once

#include <string>

namespace Qel::detail {

// Creates and locks a new temporary for `path`; its name goes into `name`.
// Returns the descriptor, or -1 with errno set.
int createLockedTemporary(const std::string& path, std::string& name);

// Removes the temporaries of `path` that no live save holds. Best effort:
// never throws, and never touches `path` itself or another file.
void removeStaleTemporaries(const std::string& path);

}  // namespace Qel::detail
