// Running other programs from a test: a shell command, or a child process
// whose output goes to files (no wxWidgets).
#pragma once

#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

#include "Files.h"

namespace testsupport {

// `text` in single quotes for the shell.
std::string quoted(const std::string& text);

// Runs a command through the shell, returns its standard output; `status`
// receives the exit status (-1 when a signal ended the shell).
std::string runCommand(const std::string& command, int* status = nullptr);

struct Launch {
    std::string program;
    std::vector<std::string> args;
    std::string workDir;                     // empty: this process's
    std::map<std::string, std::string> env;  // added to or replacing the inherited ones
};

struct ProcessResult {
    int status = -1;  // exit status; minus the signal number if one killed it
    std::string out;
    std::string err;
};

class ChildProcess {
public:
    explicit ChildProcess(const Launch& launch);
    // Kills and reaps a child that finish() did not wait for.
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Waits until standard output holds `text`; false after `timeoutMs`.
    bool waitForOutput(const std::string& text, int timeoutMs = 60000) const;
    void sendSignal(int signal) const;
    // Waits for the exit.
    ProcessResult finish();

private:
    TempDir logs_;
    pid_t pid_ = -1;
};

// Runs `launch` to its end.
ProcessResult runProcess(const Launch& launch);

}  // namespace testsupport
