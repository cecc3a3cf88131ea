#include "RecordingTarget.h"

#include <sys/stat.h>

namespace host {

std::string recordingTargetProblem(const std::string& path) {
    if (path.empty()) return "an empty file name";
    if (path.find('\0') != std::string::npos) return "the file name holds a NUL character";
    if (path.back() == '/') return "'" + path + "' names a folder, not a file";
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) return "";  // nothing there yet (or the open will say why)
    if (S_ISREG(info.st_mode)) return "";
    const char* kind = S_ISDIR(info.st_mode)    ? "a directory"
                       : S_ISFIFO(info.st_mode) ? "a FIFO (named pipe)"
                       : S_ISCHR(info.st_mode)  ? "a character device"
                       : S_ISBLK(info.st_mode)  ? "a block device"
                       : S_ISSOCK(info.st_mode) ? "a socket"
                                                : "not a file";
    return "'" + path + "' is " + kind + ", not a regular file";
}

}  // namespace host
