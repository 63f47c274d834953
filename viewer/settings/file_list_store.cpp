#include "viewer/settings/file_list_store.h"

#include "platform/system/file_io.h"
#include "platform/text/cp1251.h"
#include "platform/text/line_split.h"
#include "platform/text/number_text.h"
#include "viewer/settings/drive_probe.h"
#include "viewer/settings/program_folder.h"

namespace tavrin {

std::string DisplayNameOf(const std::string& path)
{
    return std::string(platform::trimSpaces(platform::extractFileName(path)));
}

namespace {

std::vector<std::string> readNonEmptyLines(const std::string& file)
{
    std::string text;
    std::vector<std::string> out;
    if (!platform::readFile(file, text))
        return out;
    for (std::string& l : platform::splitLines(text))
        if (!platform::trimSpaces(l).empty())
            out.push_back(std::move(l));
    return out;
}

} // namespace

std::vector<ListEntry> LoadFileList(const std::string& folder)
{
    std::vector<ListEntry> entries;
    std::string listFile = folder + kListFileName;
    std::string checkedFile = folder + kCheckedListFileName;
    if (!platform::fileExists(listFile) || !platform::fileExists(checkedFile))
        return entries;

    std::vector<std::string> paths = readNonEmptyLines(listFile);
    std::vector<std::string> marks = readNonEmptyLines(checkedFile);
    bool paired = paths.size() == marks.size();

    for (std::size_t k = 0; k < paths.size(); ++k) {
        std::string path = platform::cp1251ToUtf8(paths[k]);
        std::string name = platform::extractFileName(path);
        if (platform::trimSpaces(name).empty())
            continue;
        if (platform::extractFilePath(path).empty())
            path = folder + path;
        else if (!platform::fileExists(path))
            path = folder + name;
        ListEntry e;
        e.path = path;
        e.name = DisplayNameOf(path);
        e.checked = paired ? platform::trimSpaces(marks[k]).starts_with('+') : true;
        entries.push_back(std::move(e));
    }
    return entries;
}

bool SaveFileList(const std::string& folder, const std::vector<ListEntry>& entries)
{
    if (!IsDriveWritable(folder))
        return false;
    std::vector<std::string> paths, marks;
    paths.reserve(entries.size());
    marks.reserve(entries.size());
    for (const ListEntry& e : entries) {
        paths.push_back(platform::utf8ToCp1251(e.path));
        marks.push_back((e.checked ? "+ " : "- ") + platform::utf8ToCp1251(e.name));
    }
    bool ok = platform::writeFileAtomic(folder + kListFileName, platform::joinLinesCrLf(paths));
    ok = platform::writeFileAtomic(folder + kCheckedListFileName, platform::joinLinesCrLf(marks)) && ok;
    return ok;
}

} // namespace tavrin
