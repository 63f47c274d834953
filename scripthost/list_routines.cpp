#include "scripthost/list_routines.h"

#include "platform/text/number_text.h"
#include "script/binding/object_refs.h"
#include "script/library/string_list.h"
#include "viewer/data/field_text.h"
#include "viewer/data/pacer.h"

#include <algorithm>
#include <climits>

namespace tavrin {

using script::TfsStringList;

void ListClear(TfsStringList* list)
{
    if (!list)
        return;
    list->Clear();
    if (!script::IsHostObject(list) && script::ObjectStore::Owns(list))
        script::ObjectStore::Free(list);
}

void ListSort(TfsStringList* list, const std::function<void()>& tick)
{
    if (!list || list->Count() < 2)
        return;
    Pacer pacer(tick);
    list->SortLines([&pacer](const TfsStringList::Line& a, const TfsStringList::Line& b) {
        pacer.step();
        return a.text < b.text; // char_traits compares bytes as unsigned
    });
}

int GetMinMaxNumberInList(std::string_view separators, const TfsStringList* list, std::int64_t numCol, double& minN,
                          double& maxN, const std::function<void()>& tick)
{
    minN = 0;
    maxN = 0;
    if (!list || numCol < 0 || list->Count() == 0)
        return 0;
    if (separators.empty())
        separators = " ";
    // A field past INT_MAX is past every line's end: its value is the default.
    const bool reachable = numCol < INT_MAX;
    const int field = reachable ? static_cast<int>(numCol + 1) : 0;
    Pacer pacer(tick);
    int count = 0;
    for (const TfsStringList::Line& line : list->Lines()) {
        double v = 0;
        if (reachable)
            v = StrToNumberDef(ExtractField(platform::trimSpaces(line.text), field, separators), 0);
        if (v < minN)
            minN = v;
        if (v > maxN)
            maxN = v;
        ++count;
        pacer.step();
    }
    return count;
}

} // namespace tavrin
