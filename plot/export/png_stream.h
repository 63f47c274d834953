#pragma once
// A PNG file written row by row (8-bit RGB), so that a picture of any size
// needs only the rows at hand in memory.

#include <cstdint>
#include <string>

namespace platform {
class OutputFile;
}

namespace halvex {

class PngStream {
public:
    PngStream() = default;
    ~PngStream();
    PngStream(const PngStream&) = delete;
    PngStream& operator=(const PngStream&) = delete;

    // Writes the header of a width × height picture into the open file.
    bool Begin(platform::OutputFile& file, int width, int height);
    // The next rows, RGBA, top first (the alpha is dropped).
    bool WriteRows(const std::uint8_t* rgba, int rows);
    // The end of the picture; the caller commits the file.
    bool End();

    const std::string& error() const noexcept { return error_; }

private:
    void* png_ = nullptr;
    void* info_ = nullptr;
    int width_ = 0;
    std::string error_;
};

} // namespace halvex
