#include "plot/export/export_formats.h"

#include "platform/text/ascii_case.h"

#include <array>

namespace halvex {

namespace {

constexpr std::array<ExportFilter, 6> kFilters{{
    {"VRML Files (*.wrl *.vrml)", ExportFormat::Vrml, ".wrl"},
    {"Encapsulated Postscript Files (*.eps)", ExportFormat::Eps, ".eps"},
    {"POV-Ray Scene Files (*.pov)", ExportFormat::Pov, ".pov"},
    {"High Resolution Bitmap (*.bmp *.dib)", ExportFormat::Bmp, ".bmp"},
    {"PNG Pictures (*.png)", ExportFormat::Png, ".png"},
    {"PDF Files (*.pdf)", ExportFormat::Pdf, ".pdf"},
}};

struct Known {
    const char* extension;
    ExportFormat format;
};
constexpr std::array<Known, 8> kExtensions{{
    {".png", ExportFormat::Png},
    {".bmp", ExportFormat::Bmp},
    {".dib", ExportFormat::Bmp},
    {".eps", ExportFormat::Eps},
    {".wrl", ExportFormat::Vrml},
    {".vrml", ExportFormat::Vrml},
    {".pov", ExportFormat::Pov},
    {".pdf", ExportFormat::Pdf},
}};

std::string_view fileName(std::string_view path)
{
    auto slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

} // namespace

std::optional<ExportFormat> FormatOfPath(std::string_view path)
{
    std::string_view name = fileName(path);
    auto dot = name.rfind('.');
    if (dot == std::string_view::npos)
        return std::nullopt;
    std::string_view ext = name.substr(dot);
    for (const Known& k : kExtensions)
        if (platform::equalsIgnoreCaseAscii(ext, k.extension))
            return k.format;
    return std::nullopt;
}

const char* KnownExtensions()
{
    return ".png .bmp .eps .wrl .pov .pdf";
}

const ExportFilter* ExportFilters(int& count)
{
    count = int(kFilters.size());
    return kFilters.data();
}

ExportFormat ChosenFormat(std::string& path, int filterIndex)
{
    if (filterIndex < 0 || filterIndex >= int(kFilters.size()))
        filterIndex = 0;
    const ExportFilter& f = kFilters[std::size_t(filterIndex)];
    // Only the file's own name counts: a folder may have a '.' in its name.
    if (fileName(path).find('.') == std::string_view::npos)
        path += f.extension;
    return FormatOfPath(path).value_or(f.format);
}

} // namespace halvex
