#include "Qel/Qel.h"

#include <unistd.h>

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

namespace Qel::HelperFuncs {
namespace {

std::mutex& appDirMutex() {
    static std::mutex mutex;
    return mutex;
}

// Empty while the executable's own folder is in use.
std::string& appDirOverride() {
    static std::string folder;
    return folder;
}

std::string executableDir() {
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t size = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (size < 0) return "./";
        if (static_cast<std::size_t>(size) < buffer.size()) {
            const std::string exe(buffer.data(), static_cast<std::size_t>(size));
            const auto slash = exe.rfind('/');
            return slash == std::string::npos ? std::string("./") : exe.substr(0, slash + 1);
        }
        buffer.resize(buffer.size() * 2);  // the link was cut short: retry larger
    }
}

}  // namespace

Strings::hstring getAppDir() {
    {
        const std::lock_guard<std::mutex> lock(appDirMutex());
        if (!appDirOverride().empty()) return appDirOverride();
    }
    static const std::string own = executableDir();
    return own;
}

void setAppDir(const Strings::hstring& folder) {
    std::string dir = toNativePath(folder).str();
    if (!dir.empty() && dir.back() != '/') dir += '/';
    const std::lock_guard<std::mutex> lock(appDirMutex());
    appDirOverride() = std::move(dir);
}

Strings::hstring toNativePath(const Strings::hstring& path) {
#if defined(_WIN32)
    std::string text = path.str();
    std::replace(text.begin(), text.end(), '/', '\\');
#else
    std::string text = path.str();
    std::replace(text.begin(), text.end(), '\\', '/');
#endif
    return text;
}

}  // namespace Qel::HelperFuncs
