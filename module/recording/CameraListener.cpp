#include <Nimbrel_model/CameraListener.h>

namespace Nimbrel_model {

CameraListener::~CameraListener() = default;

void CameraListener::recordEnd() {}

void CameraListener::optimizeEnd() {}

}  // namespace Nimbrel_model
