// Runs the built nimbrel-demo as a child process in a chosen working
// directory, with a copy of this process's environment plus overrides.
#pragma once

#include <sys/types.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace demotest {

struct DemoResult {
    int status = -1;  // exit status; minus the signal number if one killed it
    std::string out;
    std::string err;
};

struct DemoLaunch {
    DemoLaunch(std::vector<std::string> arguments, std::string directory,
               std::map<std::string, std::string> environment = {}, std::string program = NIMBREL_DEMO_PATH)
        : args(std::move(arguments)),
          workDir(std::move(directory)),
          env(std::move(environment)),
          executable(std::move(program)) {}

    std::vector<std::string> args;
    std::string workDir;
    std::map<std::string, std::string> env;  // added to or replacing the inherited ones
    std::string executable;
};

class DemoProcess {
public:
    explicit DemoProcess(const DemoLaunch& launch);
    // Kills and reaps a child that finish() did not wait for.
    ~DemoProcess();
    DemoProcess(const DemoProcess&) = delete;
    DemoProcess& operator=(const DemoProcess&) = delete;

    // Reads output until standard output holds `text`; false if the child
    // closed its output first.
    bool waitForOutput(const std::string& text);
    void sendSignal(int signal);
    // Reads the rest of the output and waits for the exit.
    DemoResult finish();

private:
    // Reads what is available from both pipes; false once both are closed.
    bool readSome();

    pid_t pid_ = -1;
    int outFd_ = -1;
    int errFd_ = -1;
    DemoResult result_;
};

// Runs the demo to its end.
DemoResult runDemo(const DemoLaunch& launch);

// The lines of a text, without their line ends.
std::vector<std::string> lines(const std::string& text);
// The first line that starts with `prefix`, after the first line that
// contains `after` when one is given; empty if none.
std::string lineStarting(const std::string& text, const std::string& prefix, const std::string& after = "");

}  // namespace demotest
