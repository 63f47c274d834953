#include "viewer/data/data_lines.h"

#include "viewer/data/matrix_error.h"

namespace tavrin {

DataLines DataLines::fromFile(const std::string& path)
{
    platform::FileBuffer buffer;
    std::string error;
    if (!buffer.load(path, &error))
        throw FileError(error);
    return DataLines(std::move(buffer));
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

std::vector<std::string> DataLines::toStrings() const
{
    std::vector<std::string> out;
    Cursor c(*this);
    std::string_view line;
    while (c.next(line))
        out.emplace_back(line);
    return out;
}

} // namespace tavrin
