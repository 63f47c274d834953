#include "viewer/data/data_lines.h"

#include "viewer/data/matrix_error.h"
#include "viewer/data/point_reader.h"

namespace tavrin {

DataLines DataLines::fromFile(const std::string& path)
{
    platform::MappedFile file;
    std::string error;
    if (!file.open(path, &error))
        throw FileError(error);
    return DataLines(std::move(file), path);
}

void DataLines::checkIntact() const
{
    if (buffer_.truncated())
        throw FileError("Cannot read file \"" + path_ + "\": the file was shortened while it was being read");
}

std::pair<DataLines::Part, DataLines::Part> DataLines::halves() const noexcept
{
    std::string_view text = buffer_.view();
    std::size_t mid = text.size() / 2;
    std::size_t cut = text.find_first_of("\r\n", mid);
    if (cut == std::string_view::npos)
        return {whole(), Part{false, text.size(), text.size()}};
    // Never between the CR and LF of one line end.
    cut += text[cut] == '\r' && cut + 1 < text.size() && text[cut + 1] == '\n' ? 2 : 1;
    return {Part{true, 0, cut}, Part{false, cut, text.size()}};
}

std::vector<DataLines::Part> DataLines::parts(std::size_t partBytes) const
{
    std::vector<Part> out;
    if (!prefix_.empty())
        out.push_back(Part{true, 0, 0});
    const char* text = buffer_.data();
    const std::size_t size = buffer_.size();
    if (partBytes == 0)
        partBytes = 1;
    out.reserve(out.size() + size / partBytes + 1);
    std::size_t begin = 0;
    while (begin < size) {
        // Cut after the first line end at or past the nominal size; the
        // search starts where the last one stopped, so no byte is read twice.
        std::size_t cut = size - begin > partBytes ? begin + partBytes : size;
        if (cut < size) {
            const char* e = point_detail::findLineEnd(text + cut, text + size, text + size);
            cut = static_cast<std::size_t>(point_detail::nextLine(e, text + size, text + size) - text);
        }
        out.push_back(Part{false, begin, cut});
        begin = cut;
    }
    return out;
}

std::vector<std::string> DataLines::toStrings() const
{
    std::vector<std::string> out;
    Cursor c(*this);
    std::string_view line;
    while (c.next(line))
        out.emplace_back(line);
    checkIntact();
    return out;
}

} // namespace tavrin
