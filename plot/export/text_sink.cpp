#include "plot/export/text_sink.h"

#include "platform/text/number_text.h"

namespace halvex {

namespace {

constexpr std::size_t kChunk = 1 << 18;

} // namespace

ChunkedText::ChunkedText(TextSink& sink) : sink_(sink)
{
    out_.reserve(kChunk + 4096);
}

ChunkedText& ChunkedText::num(double v)
{
    platform::appendPrintfG(out_, v, 6);
    return *this;
}

ChunkedText& ChunkedText::indent()
{
    out_.append(std::size_t(depth_), '\t');
    return *this;
}

bool ChunkedText::flush(bool always)
{
    if (!always && out_.size() < kChunk)
        return ok_;
    if (ok_ && !out_.empty())
        ok_ = sink_.Write(out_);
    out_.clear();
    return ok_;
}

} // namespace halvex
