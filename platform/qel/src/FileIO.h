// Whole-file reads and crash-safe replacement of a file.
#pragma once

#include <string>

namespace Qel::detail {

enum class ReadStatus { Ok, Missing, Failed };

struct ReadResult {
    ReadStatus status = ReadStatus::Failed;
    std::string content;
    std::string error;  // strerror text when status is not Ok
};

ReadResult readWholeFile(const std::string& path);

// The folder of a path ("." when it has none) and its last component.
std::string folderOf(const std::string& path);
std::string nameOf(const std::string& path);
// Saving through a symbolic link replaces the file it points to, not the link.
std::string resolveLink(const std::string& path);

// Replaces `path` with `content` so that a reader (or a crash at any moment)
// sees either the old file or the complete new one, never a mix. sync: also
// flush the folder so the rename itself survives a power cut. Throws
// Qel::Exception naming the path and the reason; the old file is then intact.
void replaceFileAtomically(const std::string& path, const std::string& content, bool sync);

}  // namespace Qel::detail
