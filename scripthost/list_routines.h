#pragma once
// The list routines of the script library. A list the host owns (List_Data)
// is never freed by a script: List_Clear only empties it.

#include <cstdint>
#include <functional>
#include <string_view>

namespace script {
class TfsStringList;
}

namespace tavrin {

// Empties the list; frees it too when a script created it. Nothing for nil.
void ListClear(script::TfsStringList* list);
// Sorts by the bytes of the lines, stably (equal lines keep their order);
// tick lets the user interface react on a long sort.
void ListSort(script::TfsStringList* list, const std::function<void()>& tick);
// Field NumCol + 1 of every line (separators: the characters of
// separators, a blank when it is empty) read as a number, 0 by default;
// minN and maxN start at 0. The lines read (0 for nil or NumCol < 0).
int GetMinMaxNumberInList(std::string_view separators, const script::TfsStringList* list, std::int64_t numCol,
                          double& minN, double& maxN, const std::function<void()>& tick);

} // namespace tavrin
