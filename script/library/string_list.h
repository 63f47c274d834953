#pragma once
// TfsStringList: the string list behind the script classes TStrings and
// TStringList, and the one a host hands to scripts (an output list, say).
// Lines are 8-bit text (code page 1251), each with an associated value
// (Objects, an object reference or nil). Comparisons ignore letter case
// in dictionary order (Ё beside Е). Errors are the run-time errors of
// scripts.

#include "platform/automation/variant.h"
#include "script/binding/object_refs.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace script {

class TfsStringList : public TfsObject {
public:
    enum class Duplicates { Ignore = 0, Accept = 1, Error = 2 };
    struct Line {
        std::string text;
        platform::Variant object;
    };

    int Count() const noexcept { return static_cast<int>(lines_.size()); }
    const std::string& Get(int index) const;
    void Put(int index, std::string text);
    const platform::Variant& GetObject(int index) const;
    void PutObject(int index, platform::Variant object);

    // In a sorted list the line goes to its place (and a duplicate is
    // handled as Duplicates says); the index it has, or had.
    int Add(std::string text, platform::Variant object = platform::Variant(0));
    void Insert(int index, std::string text, platform::Variant object = platform::Variant(0));
    void Delete(int index);
    void Clear() noexcept { lines_.clear(); }

    int IndexOf(std::string_view text) const;
    int IndexOfName(std::string_view name) const;
    int IndexOfObject(const platform::Variant& object) const;
    // "name=value" lines.
    std::string Name(int index) const;
    std::string Value(std::string_view name) const;
    // An empty value deletes the line; a new name adds one.
    void SetValue(std::string_view name, std::string_view value);

    // The lines each followed by CR LF; set: split at CR, LF or CR LF.
    std::string Text() const;
    void SetText(std::string_view text);
    // The lines joined by ",", quoted in double quotes where they hold a
    // blank, a comma or a quote (or are empty); set: split at commas and
    // blanks outside quotes.
    std::string CommaText() const;
    void SetCommaText(std::string_view text);

    // Binary search of a sorted list: true with the line's index, or false
    // with the index where it would go.
    bool Find(std::string_view text, int& index) const;
    void Sort();
    // Stable sort by a comparison of the host's (the list stays unsorted).
    void SortLines(const std::function<bool(const Line&, const Line&)>& less);
    bool Sorted() const noexcept { return sorted_; }
    void SetSorted(bool sorted);
    Duplicates GetDuplicates() const noexcept { return duplicates_; }
    void SetDuplicates(Duplicates d) noexcept { duplicates_ = d; }

    void Assign(const TfsStringList& source);
    const std::vector<Line>& Lines() const noexcept { return lines_; }

    // Where LoadFromFile and SaveToFile find relative names (UTF-8, with a
    // trailing '/'); empty: the working directory.
    std::string FileFolder;

private:
    void checkIndex(int index, bool allowEnd = false) const;
    void checkRoom(std::size_t more) const;
    std::vector<Line> lines_;
    bool sorted_ = false;
    Duplicates duplicates_ = Duplicates::Ignore;
};

// "List index out of bounds (5)".
[[noreturn]] void RaiseListIndexError(long long index);

} // namespace script
