// Prints the version the module's headers carry. Its unused variable is a
// warning under -Wall, which must stay a warning.
#include <Nimbrel_model/Camera.h>
#include <Nimbrel_model/Version.h>

#include <cstdio>

int main() {
    int unused = NIMBREL_MODEL_VERSION_MAJOR;
    Nimbrel_model::Camera* (*camera)() = &Nimbrel_model::Camera::getInstance;
    std::printf("%s %d.%d.%d %d\n", NIMBREL_MODEL_VERSION_STRING, NIMBREL_MODEL_VERSION_MAJOR,
                NIMBREL_MODEL_VERSION_MINOR, NIMBREL_MODEL_VERSION_PATCH, camera != nullptr);
    return 0;
}
