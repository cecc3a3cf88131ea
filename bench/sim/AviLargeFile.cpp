// Writes frames through the isavi_* functions until the file passes a size,
// then finishes it and prints the frame count, for checking files past the
// 1, 2 and 4 GiB marks.
//
//   avi_large_file <file.avi> [size in GiB, default 4.5] [quality, default 90]
#include "AviBenchFrames.h"

#include "ueye.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <file.avi> [GiB, default 4.5] [quality, default 90]\n", argv[0]);
        return 2;
    }
    const std::string path = argv[1];
    const double gib = argc > 2 ? std::atof(argv[2]) : 4.5;
    const int quality = argc > 3 ? std::atoi(argv[3]) : 90;
    const double targetKb = gib * 1024.0 * 1024.0;
    constexpr int width = 2592, height = 1944;

    // A few different frames in turn, so neighbouring frames differ.
    std::array<std::vector<char>, 4> frames;
    for (unsigned i = 0; i < frames.size(); ++i) frames[i] = avibench::makeFrame(width, height, true, i + 1);

    avibench::AviSession avi(path, width, height, quality, 25.0);
    if (!avi.ok()) {
        std::fprintf(stderr, "could not start %s\n", path.c_str());
        return 1;
    }
    avi.keep();
    long long count = 0;
    float kb = 0.0f;
    while (kb < targetKb) {
        const int status = isavi_AddFrame(avi.id(), frames[count % frames.size()].data());
        if (status != IS_AVI_NO_ERR) {
            std::fprintf(stderr, "isavi_AddFrame failed with %d after %lld frames\n", status, count);
            return 1;
        }
        ++count;
        if (isavi_GetAVISize(avi.id(), &kb) != IS_AVI_NO_ERR) {
            std::fprintf(stderr, "isavi_GetAVISize failed after %lld frames\n", count);
            return 1;
        }
    }
    const int stopped = isavi_StopAVI(avi.id());
    const int closed = isavi_CloseAVI(avi.id());
    if (stopped != IS_AVI_NO_ERR || closed != IS_AVI_NO_ERR) {
        std::fprintf(stderr, "finishing the file failed: stop %d, close %d\n", stopped, closed);
        return 1;
    }
    std::printf("frames=%lld\n", count);
    return 0;
}
