#pragma once
// The formats the control exports to, known by the file name's extension
// (and, in the export dialog, by the filter chosen).

#include <optional>
#include <string>
#include <string_view>

namespace halvex {

enum class ExportFormat { Vrml, Eps, Pov, Bmp, Png, Pdf };

// ".wrl" and ".vrml", ".eps", ".pov", ".bmp" and ".dib", ".png", ".pdf",
// in any letter case; nothing for another extension.
std::optional<ExportFormat> FormatOfPath(std::string_view path);

// The extensions a path may end in, for messages: ".png .bmp .eps .wrl .pov .pdf".
const char* KnownExtensions();

// The export dialog's filters in order (the first four are the control's
// own), each "Text (*.a;*.b)", and the format and extension of each.
struct ExportFilter {
    const char* text;
    ExportFormat format;
    const char* extension;
};
const ExportFilter* ExportFilters(int& count);

// The format of a path chosen with filter number index (0-based): the
// format its extension names, else the filter's; the filter's extension is
// appended to a file name that has no '.' in it.
ExportFormat ChosenFormat(std::string& path, int filterIndex);

} // namespace halvex
