// nimbrel-demo: a console host of the camera module.
#include "ConsoleMain.h"
#include "DemoRun.h"
#include "ExitStatus.h"
#include "Options.h"
#include "SimulatorReadings.h"

#include <unistd.h>
#include <iostream>

int main(int argc, char** argv) {
    demo::DemoOptions options;
    return host::runConsoleHost(
        demo::commandLine(), argc, argv,
        [&](const std::vector<std::string>& args) -> std::optional<int> {
            options = demo::parseOptions(args);
            if (options.help) {
                std::cout << demo::commandLine().usage();
                return host::exitStatus::kDone;
            }
            if (options.camera) host::chooseCamera(*options.camera);
            return std::nullopt;
        },
        [&] {
            demo::DemoRun(options, std::cout, isatty(STDOUT_FILENO) != 0).execute();
            return host::exitStatus::kDone;
        });
}
