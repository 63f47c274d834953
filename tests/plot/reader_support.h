#pragma once
// The independent readers the export tests hand files to (ghostscript,
// povray, pdftoppm, the VRML checker) and what they draw, read back as
// pictures: masks of what is not background, and how two masks agree.

#include <cstdint>
#include <string>
#include <vector>

namespace readers {

struct Run {
    int status = -1;
    std::string output; // standard output and error
};

// Runs a shell command line; its output goes to a file in dir.
Run run(const std::string& command, const std::string& dir);

// An RGB picture, rows top first.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
    const std::uint8_t* at(int x, int y) const { return rgb.data() + (std::size_t(y) * width + x) * 3; }
};

// Reads a binary PPM (P6, 8 bits); empty when it is none.
Picture readPpm(const std::string& path);
// Any picture file QImage reads (PNG, BMP); empty when it cannot.
Picture readImage(const std::string& path);

// ghostscript: the EPS drawn at its own size (one point a pixel) into a PPM.
Run ghostscript(const std::string& eps, const std::string& ppm, const std::string& dir);
// povray: the scene parsed and drawn at width × height into a PNG.
Run povray(const std::string& pov, const std::string& png, int width, int height, const std::string& dir);

// Pixels that differ from the white background by more than tolerance in
// some channel.
std::vector<bool> mask(const Picture& p, int tolerance = 40);
// The share of pixels that are in one mask and not the other, over the
// pixels in either (0: the same shape, 1: nothing shared).
double maskDifference(const std::vector<bool>& a, const std::vector<bool>& b);
// The mask's pixels.
int count(const std::vector<bool>& m);

} // namespace readers
