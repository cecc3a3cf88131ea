// Saves configuration values over and over until it is killed; the crash test
// kills it at random points and checks what it left on disk. Prints "waiting"
// once started and starts saving on SIGUSR1 (so its slow start-up can overlap
// the previous run), and prints "ready" once a whole round of saves is on disk.
#include <Nimbrel_model/Config.h>
#include <Qel/Qel.h>
#include <wx/init.h>

#include <csignal>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <application folder>\n", argv[0]);
        return 2;
    }
    sigset_t go;
    sigemptyset(&go);
    sigaddset(&go, SIGUSR1);
    sigprocmask(SIG_BLOCK, &go, nullptr);
    wxInitializer wx;
    std::puts("waiting");
    std::fflush(stdout);
    int signal = 0;
    sigwait(&go, &signal);
    try {
        Qel::HelperFuncs::setAppDir(argv[1]);
        Nimbrel_model::Config& config = *Nimbrel_model::Config::getInstance();
        config.load();
        const Qel::Strings::hstring camera = "SIM1280-C";
        // Go on from what the previous, killed run left, so values only grow.
        const long first = config.getAviUserLength() + 1;
        for (long round = first;; ++round) {
            config.setUserExposure(camera, round + 0.25);
            config.setAviUserLength(round);
            config.setUserSizes(camera, static_cast<int>(round), static_cast<int>(2 * round));
            if (round == first) {
                std::puts("ready");
                std::fflush(stdout);
            }
        }
    } catch (const Qel::Exception& e) {
        std::fprintf(stderr, "config_save_loop: %s\n", e.what());
        return 1;
    }
}
