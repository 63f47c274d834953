#pragma once
// INI documents: sections and "key=value" lines. Names compare ignoring
// letter case (code page 1251 letters included); every other line is kept
// exactly as it was. Text is 8-bit; lines are written with CR LF.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class IniFile {
public:
    IniFile() = default;

    // Splits the text at CR, LF or CR LF.
    static IniFile parse(std::string_view text);
    // Reads a file; a missing file gives an empty document. Nothing (with
    // a message) when the file exists but cannot be read.
    static std::optional<IniFile> load(const std::string& path, std::string* error = nullptr);

    // The value, blanks removed from both ends; nothing when the section or
    // key is absent. The first matching section and key win.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    // Replaces the key's value in place, or adds the key at the end of its
    // section, or adds the section at the end of the document.
    void setValue(std::string_view section, std::string_view key, std::string_view value);
    bool removeKey(std::string_view section, std::string_view key);
    bool removeSection(std::string_view section);

    bool hasSection(std::string_view section) const;
    std::vector<std::string> sections() const;
    std::vector<std::string> keys(std::string_view section) const;

    // The document with CR LF after every line.
    std::string text() const;
    // Written atomically (temporary file, then rename).
    bool save(const std::string& path, std::string* error = nullptr) const;

    const std::vector<std::string>& lines() const noexcept { return lines_; }

private:
    // Index of the section's header line, or npos.
    std::size_t findSection(std::string_view section) const;
    // First line after the header that belongs to the next section (or end).
    std::size_t sectionEnd(std::size_t header) const;
    std::size_t findKey(std::size_t header, std::string_view key) const;

    std::vector<std::string> lines_;
};

// The one-shot operations of the viewer and its scripts: open, one read or
// write, close. Section and key names compare ignoring case.
std::optional<std::string> readIniValue(const std::string& path, std::string_view section, std::string_view key);
bool writeIniValue(const std::string& path, std::string_view section, std::string_view key, std::string_view value,
                   std::string* error = nullptr);

} // namespace platform
