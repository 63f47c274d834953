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
