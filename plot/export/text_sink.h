#pragma once
// Where the exporters' text goes: a file being written (atomically) or, in
// tests, a string.

#include "platform/system/output_file.h"

#include <string>
#include <string_view>

namespace halvex {

class TextSink {
public:
    // False stops the writer.
    virtual bool Write(std::string_view text) = 0;

protected:
    ~TextSink() = default;
};

class FileSink final : public TextSink {
public:
    explicit FileSink(platform::OutputFile& file) : file_(file) {}
    bool Write(std::string_view text) override { return file_.Write(text); }

private:
    platform::OutputFile& file_;
};

class StringSink final : public TextSink {
public:
    bool Write(std::string_view text) override
    {
        text_ += text;
        return true;
    }
    std::string text_;
};

// Text built in pieces and handed to the sink in large chunks: lines with
// a depth of tabs in front, numbers as C's "%g" writes them.
class ChunkedText {
public:
    explicit ChunkedText(TextSink& sink);
    ~ChunkedText() = default;

    // "%g" (six significant digits, "." as the point, whatever the locale).
    ChunkedText& num(double v);
    ChunkedText& operator<<(std::string_view text)
    {
        out_ += text;
        return *this;
    }
    ChunkedText& operator<<(char c)
    {
        out_ += c;
        return *this;
    }
    // A new line at the current depth: the tabs.
    ChunkedText& indent();
    void open() { ++depth_; }
    void close()
    {
        if (depth_ > 0)
            --depth_;
    }
    int depth() const noexcept { return depth_; }
    // Hands the text over once there is enough of it; false once the sink
    // failed.
    bool flush(bool always = false);

private:
    TextSink& sink_;
    std::string out_;
    int depth_ = 0;
    bool ok_ = true;
};

} // namespace halvex
