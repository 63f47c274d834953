#pragma once
// The lines of a data file: the file's bytes, mapped rather than copied
// (see platform/system/mapped_file.h), walked as views (a line ends at CR,
// LF or CR LF), optionally preceded by lines computed by a fill script. No
// per-line storage is made, so ten million lines cost nothing beyond the
// file itself.

#include "platform/system/mapped_file.h"

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tavrin {

class DataLines {
public:
    DataLines() = default;
    explicit DataLines(std::string_view text) : buffer_(text) {}
    explicit DataLines(platform::MappedFile file, std::string path = {})
        : buffer_(std::move(file)), path_(std::move(path))
    {}

    // Opens a whole file; throws FileError with the system's message.
    static DataLines fromFile(const std::string& path);

    void setPrefix(std::vector<std::string> lines) { prefix_ = std::move(lines); }
    const std::vector<std::string>& prefix() const noexcept { return prefix_; }
    std::string_view text() const noexcept { return buffer_.view(); }

    // No line at all: an empty file with no computed lines.
    bool empty() const noexcept { return prefix_.empty() && buffer_.empty(); }

    // A part of the lines: the prefix lines (when included), then a stretch
    // of the buffer that starts at a line start and ends after a line end
    // or at the end of the buffer.
    struct Part {
        bool prefix = true;
        std::size_t begin = 0, end = 0;
        bool empty() const noexcept { return !prefix && begin == end; }
    };
    Part whole() const noexcept { return {true, 0, buffer_.size()}; }
    // The lines in two parts of about equal size, split after a line end;
    // the second part is empty when there is none to split at.
    std::pair<Part, Part> halves() const noexcept;
    // The lines in parts of about partBytes each, in order: the prefix lines
    // alone first (when there are any), then stretches of the buffer split
    // after line ends. Finding the splits reads each byte at most once.
    std::vector<Part> parts(std::size_t partBytes) const;

    // The file's pages for reading ahead and letting go (MappedFile).
    const platform::MappedFile& file() const noexcept { return buffer_; }
    // Throws FileError when the file was cut short while its lines were
    // read, so what was read cannot be trusted.
    void checkIntact() const;

    // Walks the prefix lines, then the buffer's lines.
    class Cursor {
    public:
        explicit Cursor(const DataLines& lines) noexcept : Cursor(lines, lines.whole()) {}
        Cursor(const DataLines& lines, Part part) noexcept
            : prefix_(lines.prefix_), prefixIndex_(part.prefix ? 0 : lines.prefix_.size()),
              p_(lines.buffer_.data() + part.begin), end_(lines.buffer_.data() + part.end)
        {}

        bool next(std::string_view& line) noexcept
        {
            if (prefixIndex_ < prefix_.size()) {
                line = prefix_[prefixIndex_++];
                return true;
            }
            if (p_ >= end_)
                return false;
            // The next CR and LF are remembered, so a file of CR-only (or
            // LF-only) line ends is still walked in linear time.
            if (nextLf_ < p_)
                nextLf_ = find(p_, '\n');
            if (nextCr_ < p_)
                nextCr_ = find(p_, '\r');
            const char* e = nextLf_ < nextCr_ ? nextLf_ : nextCr_;
            line = std::string_view(p_, static_cast<std::size_t>(e - p_));
            if (e == end_)
                p_ = end_;
            else if (*e == '\r' && e + 1 < end_ && e[1] == '\n')
                p_ = e + 2;
            else
                p_ = e + 1;
            return true;
        }

    private:
        const char* find(const char* from, char c) const noexcept
        {
            const void* hit = std::memchr(from, c, static_cast<std::size_t>(end_ - from));
            return hit ? static_cast<const char*>(hit) : end_;
        }

        const std::vector<std::string>& prefix_;
        std::size_t prefixIndex_ = 0;
        const char* p_;
        const char* end_;
        const char* nextLf_ = nullptr;
        const char* nextCr_ = nullptr;
    };

    Cursor cursor() const noexcept { return Cursor(*this); }
    Cursor cursor(Part part) const noexcept { return Cursor(*this, part); }
    // Every line as a string (for small files, viewers and tests).
    std::vector<std::string> toStrings() const;

private:
    std::vector<std::string> prefix_;
    platform::MappedFile buffer_;
    std::string path_;
};

} // namespace tavrin
