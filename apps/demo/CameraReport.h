// Lines that show what the camera reports: every value is read back from
// the camera, never taken from the command line.
#pragma once

#include <Nimbrel_model/Camera.h>

#include <ostream>
#include <string>

namespace demo {

// Sensor, size, colour flag, then every setting below.
void printCameraReport(const Nimbrel_model::Camera& camera, std::ostream& out);

// What each setting accepts, as the camera reports it now.
void printRanges(const Nimbrel_model::Camera& camera, std::ostream& out);

// Every camera the SDK lists, with its id and model; the open one marked.
void printConnectedCameras(std::ostream& out);

std::string gainsLine(const Nimbrel_model::Camera& camera);
std::string exposureLine(const Nimbrel_model::Camera& camera);
std::string frameRateLine(const Nimbrel_model::Camera& camera);
std::string areaLine(const Nimbrel_model::Camera& camera);
// The module has no getter for the pixel clock; the simulator can tell it.
std::string pixelClockLine();

}  // namespace demo
