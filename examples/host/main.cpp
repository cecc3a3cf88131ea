// An example host: opens the cameras through the installed module and checks
// what a host relies on. Usage: example-host <check> [avi file]
// Against a simulator build every check runs on the simulated cameras; against
// a vendor build only "cameras" and "record", on the camera the SDK finds.
#include <Nimbrel_model/Camera.h>
#include <Nimbrel_model/CameraListener.h>
#include <Nimbrel_model/Config.h>
#include <Qel/Qel.h>
#if EXAMPLE_HOST_SIMULATOR
#include <ueye_sim/Control.h>
#endif
#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/init.h>
#include <wx/stopwatch.h>

#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>

using Nimbrel_model::Camera;
using Nimbrel_model::Config;

namespace {

int failures = 0;

void check(bool ok, const std::string& what) {
    std::printf("%s %s\n", ok ? "ok  " : "FAIL", what.c_str());
    if (!ok) ++failures;
}

[[maybe_unused]] std::string messageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Qel::Exception& e) {
        return e.getMessage().str();
    }
    return "";
}

[[maybe_unused]] bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

#if EXAMPLE_HOST_SIMULATOR
void camerasOpen() {
    for (const auto& model : ueye_sim::catalogue()) {
        ueye_sim::connectCamera(model.name);
        Camera* camera = Camera::getInstance();
        camera->init();
        std::printf("     %s %d x %d %s\n", camera->getName().c_str(), camera->getMaxWidth(), camera->getMaxHeight(),
                    camera->isColor() ? "colour" : "monochrome");
        check(camera->getName().str() == model.name && camera->getMaxWidth() == model.maxWidth &&
                  camera->getMaxHeight() == model.maxHeight,
              "opened " + model.name);
        camera->exit();
        delete camera;  // the colour flag of a monochrome sensor lasts for the instance
    }
}
#else
void camerasOpen() {
    Camera* camera = Camera::getInstance();
    camera->init();
    std::printf("     %s %d x %d %s\n", camera->getName().c_str(), camera->getMaxWidth(), camera->getMaxHeight(),
                camera->isColor() ? "colour" : "monochrome");
    check(!camera->getName().str().empty() && camera->getMaxWidth() > 0 && camera->getMaxHeight() > 0,
          "opened " + camera->getName().str());
    camera->exit();
}
#endif

#if EXAMPLE_HOST_SIMULATOR
void noCamera() {
    const std::string message = messageOf([] { Camera::getInstance()->init(); });
    check(message.find("is_InitCamera") != std::string::npos, "init without a camera: " + message);
}

void failingExit() {
    Camera::getInstance()->init();
    const std::string message = messageOf([] { Camera::getInstance()->exit(); });
    check(message.find("is_StopLiveVideo") != std::string::npos && endsWith(message, "3"), "exit: " + message);
}

void configuration() {
    Config* config = Config::getInstance();
    for (const auto& model : ueye_sim::catalogue()) {
        const Qel::Strings::hstring name(model.name);
        const std::string missing = messageOf([&] {
            std::printf(
                "     %s gains %ld %ld %ld %ld auto %d brightness %ld exposure %g clock %ld gamma %ld bl %d/%ld "
                "mode %ld correction %ld\n",
                model.name.c_str(), config->getMasterGain(name), config->getRedGain(name), config->getGreenGain(name),
                config->getBlueGain(name), config->getAutoGain(name), config->getBrightness(name),
                config->getExposure(name), config->getClock(name), config->getGamma(name), config->getBLEnable(name),
                config->getBlackLevel(name), config->getColorMode(name), config->getColorCorrection(name));
        });
        check(missing.empty(), "every factory value of " + model.name);
    }
    config->setUserExposure("SIM1280-C", 12.5);
    config->setUserSizes("SIM1280-C", 640, 480);
    double exposure = 0;
    int width = 0, height = 0;
    check(config->getUserExposure("SIM1280-C", exposure) && exposure == 12.5, "user exposure read back");
    check(config->getUserSizes("SIM1280-C", width, height) && width == 640 && height == 480, "user size read back");
    config->clearUserSettings("SIM1280-C");
    config->saveUserRecordSettings(10.9, 25.5, 100.0, 12);
    check(config->getAviUserLength() == 10 && config->getAviUserFrameRate() == 25 &&
              config->getAviUserMaxSize() == 100 && config->getAviUserReplayFrameRate() == 12,
          "recording settings read back");
    config->resetUserRecordSettings();
    const std::string message = messageOf([&] { config->getGamma("NO-SUCH-CAMERA"); });
    check(message == Qel::Strings::StringTable::get().getString("Nimbrel", 64).str(), "unknown camera: " + message);
}

void controls() {
    Camera* camera = Camera::getInstance();
    Config* config = Config::getInstance();
    camera->init();
    camera->setAOI(1001, 701);
    check(camera->getWidth() == 1000 && camera->getHeight() == 700 && camera->getPosX() == 140 &&
              camera->getPosY() == 162,
          "area 1001 x 701 became 1000 x 700 at 140, 162");
    camera->saveUserSettings();
    check(config->isUserDefined("SIM1280-C"), "preset saved into res/config.xml");
    config->setConfSaved(false);
    camera->init();
    check(config->getConfSaved() && camera->getWidth() == 1000, "second init applied the preset");
    camera->resetUserSettings();
    check(!config->isUserDefined("SIM1280-C") && camera->getWidth() == 1280, "reset removed the preset");
    unsigned char* first = camera->getActiveImage();
    check(first != nullptr && first == camera->getActiveImage(), "colour picture is the camera's buffer");
    camera->exit();
    delete camera;
    ueye_sim::connectCamera("SIM1280-M");
    camera = Camera::getInstance();
    camera->init();
    ueye_sim::waitFrames(2, 5000);
    std::unique_ptr<unsigned char[]> grey(camera->getActiveImage());
    bool equal = grey != nullptr;
    for (std::size_t i = 0; equal && i < 1280u * 1024u; ++i)
        equal = grey[3 * i] == grey[3 * i + 1] && grey[3 * i + 1] == grey[3 * i + 2];
    check(equal, "monochrome picture has three equal bytes a pixel");
    camera->exit();
}

#endif

class EndListener : public Nimbrel_model::CameraListener {
public:
    void recordEnd() override {
        ++ends;
#if EXAMPLE_HOST_SIMULATOR
        closed = ueye_sim::openAviInstances() == 0;
#else
        closed = true;  // only the simulator tells
#endif
    }
    int ends = 0;
    bool closed = false;
};

void record(const std::string& file) {
    Camera* camera = Camera::getInstance();
    camera->init();
    EndListener listener;
    camera->startRecording(&listener, file, 2, 25, 1000, 25);
    wxEventLoop loop;
    wxEventLoopActivator active(&loop);
    wxStopWatch watch;
    while (listener.ends == 0 && watch.Time() < 30000) {
        loop.DispatchTimeout(10);
        wxTheApp->ProcessPendingEvents();
    }
    check(listener.ends == 1 && listener.closed, "recordEnd once, after the file was closed");
    camera->exit();
}

}  // namespace

int main(int argc, char** argv) {
    wxInitializer wx;
    if (!wx.IsOk() || argc < 2) {
        std::fprintf(stderr, "usage: example-host cameras|none|exit-failure|config|controls|record FILE\n");
        return 2;
    }
    const std::string what = argv[1];
    try {
        Config::getInstance()->load();
        if (what == "cameras") camerasOpen();
#if EXAMPLE_HOST_SIMULATOR
        else if (what == "none")
            noCamera();
        else if (what == "exit-failure")
            failingExit();
        else if (what == "config")
            configuration();
        else if (what == "controls")
            controls();
#endif
        else if (what == "record" && argc > 2)
            record(argv[2]);
        else
            return 2;
    } catch (const Qel::Exception& e) {
        std::printf("FAIL unexpected: %s\n", e.what());
        return 1;
    }
    return failures == 0 ? 0 : 1;
}
