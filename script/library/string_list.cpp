#include "script/library/string_list.h"

#include "platform/automation/value_limits.h"
#include "platform/automation/variant_ops.h"
#include "platform/text/cp1251.h"
#include "platform/text/line_split.h"
#include "script/program/run_error.h"

#include <algorithm>

namespace script {

using platform::Variant;

void RaiseListIndexError(long long index)
{
    RaiseRuntime("List index out of bounds (" + std::to_string(index) + ")");
}

namespace {

int compareLines(std::string_view a, std::string_view b) noexcept
{
    return platform::collateCp1251(a, b);
}

} // namespace

void TfsStringList::checkIndex(int index, bool allowEnd) const
{
    if (index < 0 || index > Count() || (index == Count() && !allowEnd))
        RaiseListIndexError(index);
}

void TfsStringList::checkRoom(std::size_t more) const
{
    if (lines_.size() + more > platform::valueLimits().maxArrayElements)
        RaiseRuntime("Out of memory");
}

const std::string& TfsStringList::Get(int index) const
{
    checkIndex(index);
    return lines_[static_cast<std::size_t>(index)].text;
}

void TfsStringList::Put(int index, std::string text)
{
    checkIndex(index);
    if (sorted_)
        RaiseRuntime("Operation not allowed on sorted list");
    lines_[static_cast<std::size_t>(index)].text = std::move(text);
}

const Variant& TfsStringList::GetObject(int index) const
{
    checkIndex(index);
    return lines_[static_cast<std::size_t>(index)].object;
}

void TfsStringList::PutObject(int index, Variant object)
{
    checkIndex(index);
    lines_[static_cast<std::size_t>(index)].object = std::move(object);
}

int TfsStringList::Add(std::string text, Variant object)
{
    int index = Count();
    if (sorted_) {
        if (Find(text, index)) {
            switch (duplicates_) {
            case Duplicates::Ignore: return index;
            case Duplicates::Error: RaiseRuntime("String list does not allow duplicates");
            case Duplicates::Accept: break;
            }
        }
    }
    checkRoom(1);
    lines_.insert(lines_.begin() + index, Line{std::move(text), std::move(object)});
    return index;
}

void TfsStringList::SortLines(const std::function<bool(const Line&, const Line&)>& less)
{
    if (sorted_)
        RaiseRuntime("Operation not allowed on sorted list");
    std::stable_sort(lines_.begin(), lines_.end(), less);
}

void TfsStringList::Insert(int index, std::string text, Variant object)
{
    if (sorted_)
        RaiseRuntime("Operation not allowed on sorted list");
    checkIndex(index, true);
    checkRoom(1);
    lines_.insert(lines_.begin() + index, Line{std::move(text), std::move(object)});
}

void TfsStringList::Delete(int index)
{
    checkIndex(index);
    lines_.erase(lines_.begin() + index);
}

int TfsStringList::IndexOf(std::string_view text) const
{
    if (sorted_) {
        int index = 0;
        return Find(text, index) ? index : -1;
    }
    for (std::size_t i = 0; i < lines_.size(); ++i)
        if (compareLines(lines_[i].text, text) == 0)
            return static_cast<int>(i);
    return -1;
}

int TfsStringList::IndexOfName(std::string_view name) const
{
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        std::string_view line = lines_[i].text;
        std::size_t eq = line.find('=');
        if (eq != std::string_view::npos && compareLines(line.substr(0, eq), name) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

int TfsStringList::IndexOfObject(const Variant& object) const
{
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const Variant& o = lines_[i].object;
        if (o.type() == object.type() && platform::varCompare(o, object) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

std::string TfsStringList::Name(int index) const
{
    const std::string& line = Get(index);
    std::size_t eq = line.find('=');
    return eq == std::string::npos ? std::string() : line.substr(0, eq);
}

std::string TfsStringList::Value(std::string_view name) const
{
    int i = IndexOfName(name);
    if (i < 0)
        return {};
    const std::string& line = lines_[static_cast<std::size_t>(i)].text;
    return line.substr(line.find('=') + 1);
}

void TfsStringList::SetValue(std::string_view name, std::string_view value)
{
    int i = IndexOfName(name);
    if (value.empty()) {
        if (i >= 0)
            Delete(i);
        return;
    }
    std::string line = std::string(name) + "=" + std::string(value);
    if (i < 0)
        Add(std::move(line));
    else
        lines_[static_cast<std::size_t>(i)].text = std::move(line);
}

std::string TfsStringList::Text() const
{
    std::size_t total = 0;
    for (const Line& l : lines_)
        total += l.text.size() + 2;
    if (total > platform::valueLimits().maxStringBytes)
        RaiseRuntime("Out of memory");
    std::string out;
    out.reserve(total);
    for (const Line& l : lines_) {
        out += l.text;
        out += "\r\n";
    }
    return out;
}

void TfsStringList::SetText(std::string_view text)
{
    std::vector<std::string> parts = platform::splitLines(text);
    Clear();
    checkRoom(parts.size());
    if (!sorted_) {
        lines_.reserve(parts.size());
        for (std::string& p : parts)
            lines_.push_back(Line{std::move(p), Variant(0)});
        return;
    }
    for (std::string& p : parts)
        Add(std::move(p));
}

std::string TfsStringList::CommaText() const
{
    std::string out;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (i)
            out += ',';
        std::string_view s = lines_[i].text;
        bool quote = s.empty();
        for (char c : s)
            quote = quote || static_cast<unsigned char>(c) <= ' ' || c == ',' || c == '"';
        if (!quote) {
            out += s;
            continue;
        }
        out += '"';
        for (char c : s) {
            out += c;
            if (c == '"')
                out += '"';
        }
        out += '"';
        if (out.size() > platform::valueLimits().maxStringBytes)
            RaiseRuntime("Out of memory");
    }
    return out;
}

void TfsStringList::SetCommaText(std::string_view text)
{
    Clear();
    std::size_t i = 0;
    auto skipBlanks = [&] {
        while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ')
            ++i;
    };
    skipBlanks();
    while (i < text.size()) {
        std::string item;
        if (text[i] == '"') {
            ++i;
            while (i < text.size()) {
                if (text[i] == '"') {
                    if (i + 1 < text.size() && text[i + 1] == '"') {
                        item += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += text[i++];
            }
        } else {
            while (i < text.size() && text[i] != ',' && static_cast<unsigned char>(text[i]) > ' ')
                item += text[i++];
        }
        Add(std::move(item));
        skipBlanks();
        if (i < text.size() && text[i] == ',') {
            ++i;
            skipBlanks();
            if (i == text.size())
                Add(std::string()); // a trailing comma ends with an empty item
        }
    }
}

bool TfsStringList::Find(std::string_view text, int& index) const
{
    int lo = 0, hi = Count() - 1;
    bool found = false;
    while (lo <= hi) {
        int mid = lo + (hi - lo) / 2;
        int c = compareLines(lines_[static_cast<std::size_t>(mid)].text, text);
        if (c < 0) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
            if (c == 0) {
                found = true;
                if (duplicates_ != Duplicates::Accept)
                    lo = mid;
            }
        }
    }
    index = lo;
    return found;
}

void TfsStringList::Sort()
{
    std::stable_sort(lines_.begin(), lines_.end(),
                     [](const Line& a, const Line& b) { return compareLines(a.text, b.text) < 0; });
}

void TfsStringList::SetSorted(bool sorted)
{
    if (sorted && !sorted_)
        Sort();
    sorted_ = sorted;
}

void TfsStringList::Assign(const TfsStringList& source)
{
    if (&source == this)
        return;
    lines_ = source.lines_;
    if (sorted_)
        Sort();
}

} // namespace script
