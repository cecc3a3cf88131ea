// Opening and closing, the set-up from factory values and from a preset, and
// a second opening.
#include "Checks.h"
#include "Sandbox.h"
#include "Session.h"

#include <Qel/Qel.h>

#include <cmath>
#include <string>
#include <vector>

namespace check {

namespace {

using Nimbrel_model::Camera;

// Every element of a user preset: an opening applies them all, so a preset
// that lacks one (a save cut short) keeps the camera from opening, or opens
// it with values nobody chose.
const char* const kPresetElements[] = {"UserMasterGain", "UserRedGain",    "UserGreenGain", "UserBlueGain",
                                       "UserAutoGain",   "UserBrightness", "UserExposure",  "UserFramerate",
                                       "UserWidth",      "UserHeight"};

// The preset elements the camera's element has, and those it lacks.
void presetElements(const std::string& file, const std::string& camera, std::vector<std::string>& present,
                    std::vector<std::string>& missing) {
    const Qel::XML::XMLDoc doc(Qel::Strings::hstring(file), true, false);
    const Qel::XML::XMLNode element = doc.getRoot().getChild("CameraSettings", "").getChild(camera, "");
    for (const char* name : kPresetElements) {
        const Qel::XML::XMLNode node = element.getChild(name, "");
        (node.isNull() || node.getText().str().empty() ? missing : present).emplace_back(name);
    }
}

void presetComplete(Session& session) {
    try {
        session.open();
    } catch (const std::exception&) {
        // The opening checks report the failure; the name may be known all the same.
    }
    const std::string name = session.camera().getName().str();
    if (name.empty()) throw CheckSkipped("the camera did not say its name");
    std::vector<std::string> present;
    std::vector<std::string> missing;
    presetElements(session.sandbox().copyPath(), name, present, missing);
    if (present.empty()) throw CheckSkipped("no user preset stored for " + name);
    std::string list;
    for (const std::string& element : missing) list += (list.empty() ? "" : ", ") + element;
    expect(missing.empty(), "the user preset of " + name + " is incomplete (a save cut short?), it lacks " + list +
                                ": nimbrel-demo --reset-preset (or the viewer's Reset) removes it");
}

void expectGain(double actual, long wanted, const std::string& which) {
    expect(std::fabs(actual - static_cast<double>(wanted)) <= 1.0,
           which + " gain " + show(actual) + ", expected " + std::to_string(wanted));
}

void expectExposure(const Camera& camera, double wanted) {
    const double actual = camera.getExposure();
    expect(near(actual, wanted, 0.05, 0.1), "exposure " + show(actual) + " ms, expected " + show(wanted) + " ms");
}

void openClose(Session& session) {
    session.close();
    Camera& camera = session.open();
    expect(!camera.getName().str().empty(), "the sensor has no name");
    expect(camera.isColor() != camera.getName().glob("*-M"),
           "the sensor " + camera.getName().str() + " is reported as " + (camera.isColor() ? "colour" : "monochrome") +
               ": a name ending in -M is a monochrome sensor, any other a colour one");
    expect(camera.getMaxWidth() > 0 && camera.getMaxHeight() > 0,
           "sensor size " + std::to_string(camera.getMaxWidth()) + " x " + std::to_string(camera.getMaxHeight()));
    expect(camera.getCamHandle() != nullptr, "no camera handle after init");
    session.close();
    expect(camera.getCamHandle() == nullptr, "the camera handle stays set after exit");
}

void setupFactory(Session& session) {
    auto& config = session.config();
    const Camera::hstring name = session.open().getName();
    withUndo(
        [&] {
            config.clearUserSettings(name);  // in the copy
            Camera& camera = session.reopen();
            expect(camera.getWidth() == camera.getMaxWidth() && camera.getHeight() == camera.getMaxHeight() &&
                       camera.getPosX() == 0 && camera.getPosY() == 0,
                   "the area is not the full sensor");
            const long master = config.getMasterGain(name);
            if (master == -1)
                expect(camera.isGainAuto(), "factory gain is automatic, but automatic gain is off");
            else
                expectGain(camera.getGain(), master, "master");
            if (master != -1 && camera.isColor()) {
                expectGain(camera.getRedGain(), config.getRedGain(name), "red");
                expectGain(camera.getGreenGain(), config.getGreenGain(name), "green");
                expectGain(camera.getBlueGain(), config.getBlueGain(name), "blue");
            }
            expect(camera.getBrightness() == config.getBrightness(name),
                   "brightness " + std::to_string(camera.getBrightness()) + ", expected " +
                       std::to_string(config.getBrightness(name)));
            expectExposure(camera, config.getExposure(name));
        },
        [&] {
            session.sandbox().resetCopy();
            session.close();
        });
}

void setupPreset(Session& session) {
    auto& config = session.config();
    Camera& camera = session.open();
    const Camera::hstring name = camera.getName();
    const double fps = camera.getFrameRate();
    // Exposure fits the frame time the camera has when the preset applies it.
    const double exposure = std::round(400.0 / fps * 100.0) / 100.0;
    const double presetFps = fps >= 2.0 ? std::floor(fps / 2.0) : fps * 0.75;
    const int brightness = camera.getBrightness() == 100 ? 90 : 100;
    const int width = camera.getMaxWidth() / 2, height = camera.getMaxHeight() / 2;
    withUndo(
        [&] {
            config.setUserMasterGain(name, 20);
            config.setUserRedGain(name, 15);
            config.setUserGreenGain(name, 10);
            config.setUserBlueGain(name, 25);
            config.setUserAutoGain(name, false);
            config.setUserBrightness(name, brightness);
            config.setUserExposure(name, exposure);
            config.setUserFramerate(name, presetFps);
            config.setUserSizes(name, width, height);
            session.reopen();
            expect(!camera.isGainAuto(), "automatic gain is on");
            expectGain(camera.getGain(), 20, "master");
            if (camera.isColor()) {
                expectGain(camera.getRedGain(), 15, "red");
                expectGain(camera.getGreenGain(), 10, "green");
                expectGain(camera.getBlueGain(), 25, "blue");
            }
            expect(camera.getBrightness() == brightness,
                   "brightness " + std::to_string(camera.getBrightness()) + ", expected " + std::to_string(brightness));
            expectExposure(camera, exposure);
            expect(near(camera.getFrameRate(), presetFps, 0.05, 0.01),
                   "frame rate " + show(camera.getFrameRate()) + ", expected " + show(presetFps));
            expectAlignedSize(camera.getWidth(), width, "width");
            expectAlignedSize(camera.getHeight(), height, "height");
            expect(config.getConfSaved(), "the settings are not marked as saved after the preset");
        },
        [&] {
            session.sandbox().resetCopy();
            session.close();
        });
}

void secondInit(Session& session) {
    Camera& camera = session.open();
    const std::string name = camera.getName().str();
    camera.init();  // closes and opens again
    expect(camera.getName().str() == name && camera.getCamHandle() != nullptr, "init on an open camera");
    session.close();
    session.open();
    expect(camera.getName().str() == name && camera.getCamHandle() != nullptr, "init after exit");
}

}  // namespace

std::vector<Check> lifecycleChecks() {
    return {
        {"preset", "a stored user preset holds every value an opening applies", presetComplete},
        {"open-close", "opens the first camera, reads its sensor and closes it", openClose},
        {"setup-factory", "opening without a preset applies the factory values", setupFactory},
        {"setup-preset", "opening with a preset applies it (made on the configuration copy)", setupPreset},
    };
}

std::vector<Check> secondInitChecks() {
    return {{"second-init", "init on an open camera and again after exit", secondInit}};
}

}  // namespace check
