// The AVI tests' short recording through the isavi_* calls; files, frame
// buffers and read-back come from the shared test support.
#pragma once

#include "Files.h"
#include "Process.h"
#include "Video.h"

namespace avitest {

using namespace testsupport;

// Records `frames` copies of `image` (whole image, no offset) at `fps` through
// the isavi_* calls, ending with Stop, Close and Exit. Returns the first
// nonzero status, or 0.
int recordFile(const std::string& path, BgrImage& image, int frames, double fps, int quality = 90);

}  // namespace avitest
