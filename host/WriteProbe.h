// Why a file cannot be written, in the system's words. The camera SDK says
// only that it could not open or write a file; the hosts try the place
// themselves and name the reason: a missing folder, no permission, a
// read-only or full file system, a directory in the file's place.
#pragma once

#include <stdexcept>
#include <string>

namespace host {

struct WriteProblem {
    int error = 0;       // errno; 0: nothing found in the way
    std::string reason;  // strerror(error), with the folder for a missing one
};

// Tries `path` as the file a recording or snapshot would write: the folder,
// the file itself (opened for writing, never truncated; created and removed
// again when it did not exist, one byte written to it to find a full disk).
// Leaves nothing behind. Less than host::kFullBelowBytes free counts as a
// full disk: ask after a write failed, not before.
WriteProblem probeWrite(const std::string& path);

// The folder a file `path` would be written into; "." for a bare file name.
std::string folderOf(const std::string& path);

// A file that could not be written: "cannot write the <what> <path>: <reason>",
// then `detail` in brackets when given. Carries the errno.
class WriteFailure : public std::runtime_error {
public:
    WriteFailure(const std::string& what, const std::string& path, const WriteProblem& problem,
                 const std::string& detail = "");
    int error() const { return error_; }
    const std::string& detail() const { return detail_; }

private:
    int error_;
    std::string detail_;
};

// Throws WriteFailure when probeWrite finds a reason; else returns, and the
// caller reports its own failure (`detail`) as it was.
void explainWriteFailure(const std::string& what, const std::string& path, const std::string& detail);

}  // namespace host
