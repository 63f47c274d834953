#include "plot/model/label_layout.h"

#include <algorithm>
#include <cmath>

namespace halvex {

namespace {

// The shift that brings b inside area; false when b is larger than area.
bool ShiftInside(const PixelBox& b, const PixelBox& area, float& dx, float& dy)
{
    if (b.width() > area.width() || b.height() > area.height())
        return false;
    dx = b.x0 < area.x0 ? area.x0 - b.x0 : b.x1 > area.x1 ? area.x1 - b.x1 : 0.0f;
    dy = b.y0 < area.y0 ? area.y0 - b.y0 : b.y1 > area.y1 ? area.y1 - b.y1 : 0.0f;
    return true;
}

PixelBox Placed(const TextBox& t, float half)
{
    return t.box.Moved(t.dx, t.dy).Grown(half);
}

// The numbers of one axis worth trying, by index: every s-th from the
// first, and the last, for the smallest s with no two neighbours
// overlapping. A last number that overlaps the one before it wins its
// place: the ends of the axis come first.
std::vector<TextBox*> ThinOut(std::vector<TextBox*>& numbers, float half)
{
    std::vector<TextBox*> kept;
    if (numbers.size() <= 2) {
        kept = numbers;
        if (kept.size() == 2 && Placed(*kept[0], half).Overlaps(Placed(*kept[1], half)))
            kept.pop_back();
        return kept;
    }
    const std::int32_t first = numbers.front()->index;
    for (std::size_t s = 1; s < numbers.size(); ++s) {
        kept.clear();
        bool clash = false;
        for (std::size_t k = 0; k < numbers.size() && !clash; ++k) {
            TextBox* b = numbers[k];
            bool last = k + 1 == numbers.size();
            if (!last && (b->index - first) % std::int32_t(s) != 0)
                continue;
            if (!kept.empty() && Placed(*kept.back(), half).Overlaps(Placed(*b, half))) {
                if (!last || kept.size() < 2) {
                    clash = true;
                    break;
                }
                kept.pop_back();
                clash = Placed(*kept.back(), half).Overlaps(Placed(*b, half));
            }
            kept.push_back(b);
        }
        if (!clash)
            return kept;
    }
    // Not even the two ends fit beside each other.
    kept.assign(1, numbers.front());
    return kept;
}

} // namespace

void LayOutText(std::vector<TextBox>& boxes, const PixelBox& area, float gap)
{
    const float half = gap * 0.5f;
    int groups = 0;
    for (TextBox& t : boxes) {
        t.shown = false;
        t.dx = t.dy = 0.0f;
        groups = std::max(groups, t.group + 1);
    }
    // Inside the picture, or moved inside: a number only as far as keeps
    // it beside its tick (half its size), a label anywhere.
    std::vector<bool> usable(boxes.size(), false);
    for (std::size_t k = 0; k < boxes.size(); ++k) {
        TextBox& t = boxes[k];
        if (t.box.empty() || !std::isfinite(t.box.x0) || !std::isfinite(t.box.y0) || !std::isfinite(t.box.x1) ||
            !std::isfinite(t.box.y1))
            continue;
        float dx = 0.0f, dy = 0.0f;
        if (!ShiftInside(t.box, area, dx, dy))
            continue;
        if (!t.title && (std::fabs(dx) > 0.5f * t.box.width() + gap || std::fabs(dy) > 0.5f * t.box.height() + gap))
            continue;
        t.dx = dx;
        t.dy = dy;
        usable[k] = true;
    }

    std::vector<TextBox*> ends, titles, inner;
    for (int g = 0; g < groups; ++g) {
        std::vector<TextBox*> numbers;
        for (std::size_t k = 0; k < boxes.size(); ++k)
            if (usable[k] && boxes[k].group == g && !boxes[k].title)
                numbers.push_back(&boxes[k]);
        std::stable_sort(numbers.begin(), numbers.end(),
                         [](const TextBox* a, const TextBox* b) { return a->index < b->index; });
        std::vector<TextBox*> kept = ThinOut(numbers, half);
        for (std::size_t k = 0; k < kept.size(); ++k)
            (k == 0 || k + 1 == kept.size() ? ends : inner).push_back(kept[k]);
    }
    for (std::size_t k = 0; k < boxes.size(); ++k)
        if (usable[k] && boxes[k].title)
            titles.push_back(&boxes[k]);

    std::vector<PixelBox> taken;
    auto accept = [&](TextBox* t) {
        PixelBox p = Placed(*t, half);
        for (const PixelBox& q : taken)
            if (p.Overlaps(q))
                return;
        taken.push_back(p);
        t->shown = true;
    };
    for (auto* list : {&ends, &titles, &inner})
        for (TextBox* t : *list)
            accept(t);
}

} // namespace halvex
