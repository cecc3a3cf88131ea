// The live picture as 24-bit pixels.
#include <Nimbrel_model/Camera.h>

#include "core/PixelOps.h"
#include "sdk/ueye_by_role.h"
#include "stream/StreamControl.h"

namespace Nimbrel_model {

unsigned char* Camera::getActiveImage() const {
    INT number = 0;
    char* active = nullptr;
    char* last = nullptr;
    ueye_role::activeBuffer(camHandle, &number, &active, &last);
    if (frameStreamLendsBuffers() && last) active = last;
    if (color || !active) return reinterpret_cast<unsigned char*>(active);

    const std::size_t pixels = static_cast<std::size_t>(getMaxWidth()) * static_cast<std::size_t>(getMaxHeight());
    unsigned char* rgb = allocateFrame(pixels * 3);
    expandGreyToRgb(rgb, reinterpret_cast<const unsigned char*>(active), pixels);
    return rgb;
}

}  // namespace Nimbrel_model
