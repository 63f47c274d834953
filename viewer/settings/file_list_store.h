#pragma once
// The two list files of the program folder: "~ListFiles.txt" with the full
// path of each entry and "~ListFilesChecked.txt" with "+ " or "- " and the
// displayed name; 8-bit text (code page 1251), CR LF after every line.

#include <string>
#include <vector>

namespace tavrin {

struct ListEntry {
    std::string path; // full path, file-system encoding
    std::string name; // displayed file-name part
    bool checked = true;
};

// Reads both files and repairs the entries: a path whose file has moved is
// looked up by name in the program folder, a bare name is taken from it;
// when the two files disagree in length every entry comes back checked.
// Missing files give an empty list. Paths with no file-name part are
// dropped so the two lists stay paired.
std::vector<ListEntry> LoadFileList(const std::string& programFolder);

// Writes both files (atomically) when the folder is writable; false when
// nothing was written.
bool SaveFileList(const std::string& programFolder, const std::vector<ListEntry>& entries);

// The displayed name of a path: its file-name part, spaces removed.
std::string DisplayNameOf(const std::string& path);

} // namespace tavrin
