#include "DemoProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace demotest {

namespace {

std::vector<std::string> childEnvironment(const std::map<std::string, std::string>& overrides) {
    std::map<std::string, std::string> merged;
    for (char** entry = environ; *entry; ++entry) {
        std::string text = *entry;
        auto equals = text.find('=');
        if (equals != std::string::npos) merged[text.substr(0, equals)] = text.substr(equals + 1);
    }
    for (const auto& [name, value] : overrides) merged[name] = value;
    std::vector<std::string> result;
    for (const auto& [name, value] : merged) result.push_back(name + "=" + value);
    return result;
}

std::vector<char*> pointers(std::vector<std::string>& texts) {
    std::vector<char*> result;
    for (auto& text : texts) result.push_back(text.data());
    result.push_back(nullptr);
    return result;
}

void check(int error, const char* what) {
    if (error != 0) throw std::runtime_error(std::string(what) + ": " + std::strerror(error));
}

}  // namespace

DemoProcess::DemoProcess(const DemoLaunch& launch) {
    int outPipe[2];
    int errPipe[2];
    if (pipe2(outPipe, O_CLOEXEC) != 0 || pipe2(errPipe, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], STDERR_FILENO);
    if (!launch.workDir.empty()) posix_spawn_file_actions_addchdir_np(&actions, launch.workDir.c_str());

    std::vector<std::string> argv{launch.executable};
    argv.insert(argv.end(), launch.args.begin(), launch.args.end());
    std::vector<std::string> envp = childEnvironment(launch.env);
    auto argvPointers = pointers(argv);
    auto envPointers = pointers(envp);
    int error = posix_spawn(&pid_, launch.executable.c_str(), &actions, nullptr, argvPointers.data(),
                            envPointers.data());
    posix_spawn_file_actions_destroy(&actions);
    close(outPipe[1]);
    close(errPipe[1]);
    outFd_ = outPipe[0];
    errFd_ = errPipe[0];
    check(error, "posix_spawn");
}

DemoProcess::~DemoProcess() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (outFd_ >= 0) close(outFd_);
    if (errFd_ >= 0) close(errFd_);
}

bool DemoProcess::readSome() {
    std::vector<pollfd> fds;
    if (outFd_ >= 0) fds.push_back({outFd_, POLLIN, 0});
    if (errFd_ >= 0) fds.push_back({errFd_, POLLIN, 0});
    if (fds.empty()) return false;
    if (poll(fds.data(), fds.size(), -1) < 0) return errno == EINTR;
    for (const pollfd& fd : fds) {
        if (!(fd.revents & (POLLIN | POLLHUP | POLLERR))) continue;
        char buffer[4096];
        ssize_t n = read(fd.fd, buffer, sizeof buffer);
        int& own = fd.fd == outFd_ ? outFd_ : errFd_;
        std::string& text = fd.fd == outFd_ ? result_.out : result_.err;
        if (n > 0) {
            text.append(buffer, static_cast<std::size_t>(n));
        } else if (n == 0 || errno != EINTR) {
            close(own);
            own = -1;
        }
    }
    return true;
}

bool DemoProcess::waitForOutput(const std::string& text) {
    while (result_.out.find(text) == std::string::npos)
        if (!readSome()) return false;
    return true;
}

void DemoProcess::sendSignal(int signal) { kill(pid_, signal); }

DemoResult DemoProcess::finish() {
    while (readSome()) {
    }
    int raw = 0;
    waitpid(pid_, &raw, 0);
    pid_ = -1;
    result_.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : WIFSIGNALED(raw) ? -WTERMSIG(raw) : -1;
    return result_;
}

DemoResult runDemo(const DemoLaunch& launch) { return DemoProcess(launch).finish(); }

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
}

std::string lineStarting(const std::string& text, const std::string& prefix, const std::string& after) {
    bool searching = after.empty();
    for (const std::string& line : lines(text)) {
        if (!searching) {
            searching = line.find(after) != std::string::npos;
            continue;
        }
        if (line.rfind(prefix, 0) == 0) return line;
    }
    return "";
}

}  // namespace demotest
