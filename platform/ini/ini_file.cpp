#include "platform/ini/ini_file.h"

#include "platform/system/file_io.h"
#include "platform/text/cp1251.h"
#include "platform/text/line_split.h"
#include "platform/text/number_text.h"

namespace platform {

namespace {

constexpr std::size_t npos = std::string::npos;

// The section name of a header line ("[name]"), or nothing.
std::optional<std::string_view> headerName(std::string_view line)
{
    std::string_view t = trimBlanks(line);
    if (t.empty() || t.front() != '[')
        return std::nullopt;
    t.remove_prefix(1);
    auto close = t.find(']');
    if (close != std::string_view::npos)
        t = t.substr(0, close);
    return trimBlanks(t);
}

// The key of a "key=value" line, or nothing for comments and other lines.
std::optional<std::string_view> keyOf(std::string_view line)
{
    std::string_view t = trimBlanks(line);
    if (t.empty() || t.front() == ';' || t.front() == '[')
        return std::nullopt;
    auto eq = t.find('=');
    if (eq == std::string_view::npos)
        return std::nullopt;
    return trimBlanks(t.substr(0, eq));
}

std::string_view valueOf(std::string_view line)
{
    auto eq = line.find('=');
    return trimBlanks(line.substr(eq + 1));
}

} // namespace

IniFile IniFile::parse(std::string_view text)
{
    IniFile ini;
    ini.lines_ = splitLines(text);
    return ini;
}

std::optional<IniFile> IniFile::load(const std::string& path, std::string* error)
{
    if (!fileExists(path))
        return directoryExists(path) ? std::nullopt : std::optional<IniFile>(IniFile());
    std::string text;
    if (!readFile(path, text, error))
        return std::nullopt;
    return parse(text);
}

std::size_t IniFile::findSection(std::string_view section) const
{
    std::string_view wanted = trimBlanks(section);
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        auto name = headerName(lines_[i]);
        if (name && equalsIgnoreCaseCp1251(*name, wanted))
            return i;
    }
    return npos;
}

std::size_t IniFile::sectionEnd(std::size_t header) const
{
    std::size_t i = header + 1;
    while (i < lines_.size() && !headerName(lines_[i]))
        ++i;
    return i;
}

std::size_t IniFile::findKey(std::size_t header, std::string_view key) const
{
    std::string_view wanted = trimBlanks(key);
    std::size_t end = sectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i) {
        auto k = keyOf(lines_[i]);
        if (k && equalsIgnoreCaseCp1251(*k, wanted))
            return i;
    }
    return npos;
}

std::optional<std::string> IniFile::value(std::string_view section, std::string_view key) const
{
    std::size_t header = findSection(section);
    if (header == npos)
        return std::nullopt;
    std::size_t line = findKey(header, key);
    if (line == npos)
        return std::nullopt;
    return std::string(valueOf(lines_[line]));
}

void IniFile::setValue(std::string_view section, std::string_view key, std::string_view value)
{
    std::string line(trimBlanks(key));
    line += '=';
    line += value;
    std::size_t header = findSection(section);
    if (header == npos) {
        lines_.push_back("[" + std::string(trimBlanks(section)) + "]");
        lines_.push_back(std::move(line));
        return;
    }
    std::size_t at = findKey(header, key);
    if (at != npos) {
        lines_[at] = std::move(line);
        return;
    }
    // After the section's last non-blank line, so blank separators stay
    // between sections.
    std::size_t end = sectionEnd(header);
    std::size_t insertAt = end;
    while (insertAt > header + 1 && trimBlanks(lines_[insertAt - 1]).empty())
        --insertAt;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), std::move(line));
}

bool IniFile::removeKey(std::string_view section, std::string_view key)
{
    std::size_t header = findSection(section);
    if (header == npos)
        return false;
    std::size_t at = findKey(header, key);
    if (at == npos)
        return false;
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(at));
    return true;
}

bool IniFile::removeSection(std::string_view section)
{
    std::size_t header = findSection(section);
    if (header == npos)
        return false;
    std::size_t end = sectionEnd(header);
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(header),
                 lines_.begin() + static_cast<std::ptrdiff_t>(end));
    return true;
}

bool IniFile::hasSection(std::string_view section) const
{
    return findSection(section) != npos;
}

std::vector<std::string> IniFile::sections() const
{
    std::vector<std::string> out;
    for (const std::string& l : lines_)
        if (auto name = headerName(l))
            out.emplace_back(*name);
    return out;
}

std::vector<std::string> IniFile::keys(std::string_view section) const
{
    std::vector<std::string> out;
    std::size_t header = findSection(section);
    if (header == npos)
        return out;
    std::size_t end = sectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i)
        if (auto k = keyOf(lines_[i]))
            out.emplace_back(*k);
    return out;
}

std::string IniFile::text() const
{
    return joinLinesCrLf(lines_);
}

bool IniFile::save(const std::string& path, std::string* error) const
{
    return writeFileAtomic(path, text(), error);
}

std::optional<std::string> readIniValue(const std::string& path, std::string_view section, std::string_view key)
{
    auto ini = IniFile::load(path);
    if (!ini)
        return std::nullopt;
    return ini->value(section, key);
}

bool writeIniValue(const std::string& path, std::string_view section, std::string_view key, std::string_view value,
                   std::string* error)
{
    auto ini = IniFile::load(path, error);
    if (!ini)
        return false;
    ini->setValue(section, key, value);
    return ini->save(path, error);
}

} // namespace platform
