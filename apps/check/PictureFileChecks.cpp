// What the module hands out against what it records: frames recorded while
// the checker takes live pictures show the same scene, with the same grey
// levels and the same channel order, as a picture taken at the same moment.
// Nothing here knows the scene: only pictures and frames are compared.
#include "AviFrames.h"
#include "Checks.h"
#include "EventPump.h"
#include "LivePicture.h"
#include "PictureStats.h"
#include "Sandbox.h"
#include "Session.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace check {

namespace {

using Nimbrel_model::Camera;
using namespace std::chrono_literals;

// The camera slowed down so that the checker sees every picture the recording
// takes, recorded twice as fast so that no picture is missed.
constexpr double kCameraRate = 5.0;
constexpr double kRecordRate = 10.0;
constexpr double kPictureRecordSeconds = 0.8;
// Block means of a picture and its JPEG frame stay this close; a frame with
// a channel or a neighbouring pixel's byte out of place moves a block by far
// more in a scene with colour.
constexpr double kGreyTolerance = 6.0;
constexpr double kColorTolerance = 8.0;
// A scene whose red and blue differ by less in every block cannot show a
// channel order.
constexpr double kLeastRedBlueContrast = 40.0;

struct Recording {
    std::vector<BlockMeans> pictures;  // each different picture seen while recording
    std::vector<BlockMeans> frames;    // each frame of the file
    std::string coloredPicture;        // on a monochrome sensor, a picture that is not grey
    std::string coloredFrame;          // the same for a recorded frame
    int width = 0;
    int height = 0;
};

RgbView areaOf(const host::LivePicture& picture, int width, int height) {
    return {picture.pixels(), width, height, picture.pitch()};
}

// Records a short clip at the current area of interest while taking live
// pictures as often as the event loop turns.
Recording recordAlongside(Session& session, const std::string& fileName) {
    Camera& camera = session.open();
    Recording recording;
    recording.width = camera.getWidth();
    recording.height = camera.getHeight();
    const bool grey = !camera.isColor();
    const auto sample = [&] {
        const host::LivePicture picture(camera);
        expect(picture.ok(), "getActiveImage gave no picture");
        const RgbView area = areaOf(picture, recording.width, recording.height);
        BlockMeans means(area);
        if (recording.pictures.empty() || !(means == recording.pictures.back())) recording.pictures.push_back(means);
        if (grey && recording.coloredPicture.empty())
            if (auto pixel = firstColoredPixel(areaOf(picture, picture.width(), picture.height()), 0))
                recording.coloredPicture = *pixel;
    };
    const double rate = camera.getFrameRate(), exposure = camera.getExposure();
    const std::string file = session.sandbox().folder() + fileName;
    withUndo(
        [&] {
            camera.setFrameRate(std::min(rate, kCameraRate));
            sample();  // the picture the recording's first frame may take
            session.startRecording(file, kPictureRecordSeconds, kRecordRate);
            const bool ended = session.pump().runUntil(
                [&] {
                    sample();
                    return session.listener().recordEnds > 0;
                },
                10s);
            if (!ended) session.stopRecording();
            session.recordingEnded();
            expect(ended, "recordEnd did not come within 10 s");
        },
        [&] {
            camera.setFrameRate(rate);
            camera.setExposure(exposure);
        });
    decodeAviFrames(file, [&](const DecodedFrame& frame) {
        expect(frame.width == recording.width && frame.height == recording.height,
               "frame " + std::to_string(frame.index + 1) + " is " + std::to_string(frame.width) + " x " +
                   std::to_string(frame.height) + ", the area " + std::to_string(recording.width) + " x " +
                   std::to_string(recording.height));
        const RgbView view{frame.pixels, frame.width, frame.height, static_cast<std::size_t>(frame.width) * 3};
        recording.frames.emplace_back(view);
        if (grey && recording.coloredFrame.empty())
            if (auto pixel = firstColoredPixel(view, 2))
                recording.coloredFrame = "frame " + std::to_string(frame.index + 1) + ": " + *pixel;
    });
    expect(!recording.frames.empty(), "the recording holds no frame");
    return recording;
}

// "" when every frame is close to some live picture; otherwise the frame, its
// nearest picture and where they differ most.
std::string mismatch(const Recording& recording, bool perChannel, double tolerance) {
    for (std::size_t i = 0; i < recording.frames.size(); ++i) {
        const BlockMeans& frame = recording.frames[i];
        BlockDifference best;
        const BlockMeans* nearest = nullptr;
        for (const BlockMeans& picture : recording.pictures) {
            const BlockDifference d = largestDifference(frame, picture, perChannel);
            if (!nearest || d.amount < best.amount) {
                best = d;
                nearest = &picture;
            }
        }
        if (nearest && best.amount <= tolerance) continue;
        return "frame " + std::to_string(i + 1) + " of " + std::to_string(recording.frames.size()) +
               " matches none of the " + std::to_string(recording.pictures.size()) + " live pictures taken: " +
               (nearest ? best.describe("the frame", "the nearest picture") + " (file " + channelMeansText(frame) +
                              ", picture " + channelMeansText(*nearest) + ")"
                        : std::string("no picture"));
    }
    return {};
}

// A busy machine can keep the event loop from seeing a picture the recording
// took; a fault in the module shows in every recording, so a mismatch counts
// only when a second recording has one too.
void expectFramesMatch(Session& session, Recording& recording, const std::string& fileName, bool perChannel,
                       double tolerance) {
    std::string problem = mismatch(recording, perChannel, tolerance);
    if (!problem.empty()) {
        recording = recordAlongside(session, fileName);
        problem = mismatch(recording, perChannel, tolerance);
    }
    expect(problem.empty(), problem);
}

void pictureFile(Session& session) {
    Camera& camera = session.open();
    {
        const host::LivePicture first(camera);
        const host::LivePicture second(camera);
        if (camera.isColor())
            expect(first.pixels() == second.pixels(),
                   "a colour camera's live picture moved between two calls: it must be the camera's own buffer");
        else
            expect(first.pixels() != second.pixels(),
                   "a monochrome camera's live picture came twice at the same address: it must be a new array");
    }
    Recording recording = recordAlongside(session, "picture-file.avi");
    expect(recording.coloredPicture.empty(),
           "a live picture of the monochrome sensor is not grey: " + recording.coloredPicture);
    expect(recording.coloredFrame.empty(),
           "a recorded frame of the monochrome sensor is not grey: " + recording.coloredFrame);
    expectFramesMatch(session, recording, "picture-file.avi", false, kGreyTolerance);
}

void colorOrder(Session& session) {
    if (!session.open().isColor()) throw CheckSkipped("monochrome sensor");
    Recording recording = recordAlongside(session, "colour-order.avi");
    double contrast = 0.0;
    for (const BlockMeans& picture : recording.pictures) contrast = std::max(contrast, picture.redBlueContrast());
    if (contrast < kLeastRedBlueContrast)
        throw CheckSkipped("too little colour to tell red from blue (at most " + show(std::round(contrast)) +
                           " levels apart in any block): point the camera at something clearly red beside "
                           "something clearly blue, a colour chart for instance, and run colour-order again");
    expectFramesMatch(session, recording, "colour-order.avi", true, kColorTolerance);
}

double meanGrey(const Camera& camera, int width, int height) {
    const host::LivePicture picture(camera);
    expect(picture.ok(), "getActiveImage gave no picture");
    return BlockMeans(areaOf(picture, width, height)).wholeMean(3);
}

// The live picture is the camera's light: a quarter of the exposure darkens it.
void exposureResponse(Session& session) {
    Camera& camera = session.open();
    const bool wasAuto = camera.isGainAuto();
    const double exposure = camera.getExposure();
    const int width = camera.getWidth(), height = camera.getHeight();
    withUndo(
        [&] {
            camera.setAutoGain(false);  // it would make up for the light lost
            const double full = meanGrey(camera, width, height);
            if (full < 16.0)
                throw CheckSkipped("the picture is too dark (mean grey " + show(std::round(full)) +
                                   ") to see a shorter exposure darken it");
            camera.setExposure(exposure / 4.0);
            double quarter = full;
            session.pump().runUntil([&] { return (quarter = meanGrey(camera, width, height)) < full * 0.9; }, 3s);
            expect(quarter < full * 0.9, "the picture's mean grey is " + show(std::round(quarter)) + " at " +
                                             show(camera.getExposure()) + " ms and " + show(std::round(full)) + " at " +
                                             show(exposure) + " ms, 3 s later: it does not follow the exposure");
        },
        [&] {
            camera.setExposure(exposure);
            camera.setAutoGain(wasAuto);
        });
}

}  // namespace

std::vector<Check> pictureFileChecks() {
    return {
        {"picture-file",
         "recorded frames show the grey levels of the live pictures taken meanwhile; grey on a "
         "monochrome sensor",
         pictureFile},
        {"colour-order", "recorded frames have the live pictures' channel order (needs a scene with red and blue)",
         colorOrder},
        {"exposure-response", "a quarter of the exposure darkens the live picture", exposureResponse},
    };
}

}  // namespace check
