#include "Process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace testsupport {

namespace {

struct PipeCloser {
    void operator()(FILE* pipe) const { pclose(pipe); }
};

}  // namespace

std::string quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string runCommand(const std::string& command, int* status) {
    std::unique_ptr<FILE, PipeCloser> pipe(popen(command.c_str(), "r"));
    if (!pipe) throw std::runtime_error("cannot run " + command);
    std::string output;
    std::array<char, 4096> chunk{};
    std::size_t n = 0;
    while ((n = std::fread(chunk.data(), 1, chunk.size(), pipe.get())) > 0) output.append(chunk.data(), n);
    const int raw = pclose(pipe.release());
    if (status) *status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return output;
}

ChildProcess::ChildProcess(const Launch& launch) {
    std::vector<std::string> args{launch.program};
    args.insert(args.end(), launch.args.begin(), launch.args.end());
    std::map<std::string, std::string> merged;
    for (char** entry = environ; *entry; ++entry) {
        const std::string text = *entry;
        merged[text.substr(0, text.find('='))] = text.substr(text.find('=') + 1);
    }
    for (const auto& [name, value] : launch.env) merged[name] = value;
    std::vector<std::string> env;
    for (const auto& [name, value] : merged) env.push_back(name + "=" + value);
    auto pointers = [](std::vector<std::string>& texts) {
        std::vector<char*> result;
        for (auto& text : texts) result.push_back(text.data());
        result.push_back(nullptr);
        return result;
    };
    auto argv = pointers(args), envp = pointers(env);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const int flags = O_WRONLY | O_CREAT | O_TRUNC;
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, logs_.file("out").c_str(), flags, 0600);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, logs_.file("err").c_str(), flags, 0600);
    if (!launch.workDir.empty()) posix_spawn_file_actions_addchdir_np(&actions, launch.workDir.c_str());
    const int error = posix_spawn(&pid_, launch.program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        pid_ = -1;
        throw std::runtime_error("cannot start " + launch.program);
    }
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
}

bool ChildProcess::waitForOutput(const std::string& text, int timeoutMs) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (readFile(logs_.file("out")).find(text) == std::string::npos) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

void ChildProcess::sendSignal(int signal) const { kill(pid_, signal); }

ProcessResult ChildProcess::finish() {
    int raw = 0;
    waitpid(pid_, &raw, 0);
    pid_ = -1;
    ProcessResult result;
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : WIFSIGNALED(raw) ? -WTERMSIG(raw) : -1;
    result.out = readFile(logs_.file("out"));
    result.err = readFile(logs_.file("err"));
    return result;
}

ProcessResult runProcess(const Launch& launch) { return ChildProcess(launch).finish(); }

}  // namespace testsupport
