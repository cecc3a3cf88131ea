// --snapshot writes the live picture as a JPEG file of the area of interest.
#include "DemoProcess.h"
#include "TestSupport.h"
#include "VideoProbe.h"

#include <gtest/gtest.h>

namespace demotest {
namespace {

bool isJpeg(const std::string& data) {
    return data.size() > 4 && static_cast<unsigned char>(data[0]) == 0xFF &&
           static_cast<unsigned char>(data[1]) == 0xD8 && static_cast<unsigned char>(data[data.size() - 2]) == 0xFF &&
           static_cast<unsigned char>(data[data.size() - 1]) == 0xD9;
}

TEST(DemoSnapshot, WritesAJpegOfTheFullPicture) {
    testsupport::TempDir work;
    DemoResult result = runDemo({{"--snapshot", "shot.jpg"}, work.path()});

    ASSERT_EQ(result.status, 0) << result.err;
    ASSERT_TRUE(testsupport::fileExists(work.file("shot.jpg")));
    EXPECT_TRUE(isJpeg(testsupport::readFile(work.file("shot.jpg"))));
    auto picture = probePicture(work.file("shot.jpg"));
    EXPECT_EQ(picture["codec_name"], "mjpeg");
    EXPECT_EQ(picture["width"], "1280");
    EXPECT_EQ(picture["height"], "1024");
    EXPECT_NE(result.out.find("snapshot saved to " + work.file("shot.jpg")), std::string::npos) << result.out;
}

TEST(DemoSnapshot, MonochromeCameraAndSmallAreaGiveAJpegOfThatArea) {
    testsupport::TempDir work;
    DemoResult result =
        runDemo({{"--camera", "SIM1280-M", "--aoi", "320x240", "--snapshot", "mono.jpg"}, work.path()});

    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("monochrome"), std::string::npos);
    ASSERT_TRUE(testsupport::fileExists(work.file("mono.jpg")));
    EXPECT_TRUE(isJpeg(testsupport::readFile(work.file("mono.jpg"))));
    auto picture = probePicture(work.file("mono.jpg"));
    EXPECT_EQ(picture["width"], "320");
    EXPECT_EQ(picture["height"], "240");
}

}  // namespace
}  // namespace demotest
