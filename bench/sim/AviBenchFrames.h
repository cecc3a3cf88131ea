// Camera-like frames for the AVI benchmarks: smooth shading, colour bars and
// a little sensor noise, so JPEG has real work to do.
#pragma once

#include <string>
#include <vector>

namespace avibench {

// width x height pixels of B, G, R; grey frames hold three equal bytes.
std::vector<char> makeFrame(int width, int height, bool color, unsigned seed = 1);

// One started AVI instance writing into `path`; finished and removed on
// destruction.
class AviSession {
public:
    AviSession(std::string path, int width, int height, int quality, double fps);
    ~AviSession();
    AviSession(const AviSession&) = delete;
    AviSession& operator=(const AviSession&) = delete;

    int id() const { return id_; }
    bool ok() const { return ok_; }
    // Keeps the file on destruction.
    void keep() { keep_ = true; }

private:
    std::string path_;
    int id_ = 0;
    bool ok_ = false;
    bool keep_ = false;
};

}  // namespace avibench
