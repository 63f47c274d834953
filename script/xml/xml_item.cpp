#include "script/xml/xml_item.h"

#include "platform/text/cp1251.h"
#include "script/script_error.h"
#include "script/xml/xml_escape.h"

#include <algorithm>
#include <iterator>

namespace script {

void (*TfsXMLItem::Gone)(TfsXMLItem*) noexcept = nullptr;

TfsXMLItem::~TfsXMLItem()
{
    detach();
    Clear();
    if (referenced_ && Gone)
        Gone(this);
}

void TfsXMLItem::detach() noexcept
{
    if (!parent_)
        return;
    auto& siblings = parent_->items_;
    // Children are mostly removed from the end (undo of the newest), so
    // search from there.
    for (auto it = siblings.rbegin(); it != siblings.rend(); ++it)
        if (*it == this) {
            siblings.erase(std::next(it).base());
            break;
        }
    parent_ = nullptr;
}

void TfsXMLItem::Clear()
{
    // Without recursion: a document may nest far deeper than the stack.
    std::vector<TfsXMLItem*> pending;
    pending.swap(items_);
    while (!pending.empty()) {
        TfsXMLItem* item = pending.back();
        pending.pop_back();
        for (TfsXMLItem* child : item->items_)
            pending.push_back(child);
        item->items_.clear();
        item->parent_ = nullptr;
        delete item;
    }
}

TfsXMLItem& TfsXMLItem::Items(int index) const
{
    if (index < 0 || index >= Count())
        throw ScriptError("List index out of bounds");
    return *items_[static_cast<std::size_t>(index)];
}

TfsXMLItem& TfsXMLItem::Add()
{
    auto* item = new TfsXMLItem;
    item->parent_ = this;
    try {
        items_.push_back(item);
    } catch (...) {
        item->parent_ = nullptr;
        delete item;
        throw;
    }
    return *item;
}

void TfsXMLItem::checkAdoptable(const TfsXMLItem* item) const
{
    if (!item)
        throw ScriptError("Invalid XML item");
    for (const TfsXMLItem* p = this; p; p = p->parent_)
        if (p == item)
            throw ScriptError("An XML item cannot contain itself");
}

void TfsXMLItem::AddItem(TfsXMLItem* item)
{
    checkAdoptable(item);
    items_.reserve(items_.size() + 1);
    item->detach();
    item->parent_ = this;
    items_.push_back(item);
}

void TfsXMLItem::InsertItem(int index, TfsXMLItem* item)
{
    checkAdoptable(item);
    int newCount = Count() + (item->parent_ == this ? 0 : 1);
    if (index < 0 || index >= newCount)
        throw ScriptError("List index out of bounds");
    AddItem(item);
    // The item is now last; move it to its place.
    std::rotate(items_.begin() + index, items_.end() - 1, items_.end());
}

int TfsXMLItem::Find(std::string_view name) const noexcept
{
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (platform::equalsIgnoreCaseCp1251(items_[i]->name_, name))
            return static_cast<int>(i);
    return -1;
}

TfsXMLItem& TfsXMLItem::FindItem(std::string_view name)
{
    int i = Find(name);
    if (i >= 0)
        return *items_[static_cast<std::size_t>(i)];
    TfsXMLItem& item = Add();
    item.name_ = name;
    return item;
}

bool TfsXMLItem::RawProp(std::string_view name, std::string_view& value) const noexcept
{
    // Only the first occurrence of NAME=" counts, and only at the start of
    // the text or right after a blank.
    const std::string_view text = text_;
    const std::size_t n = name.size();
    if (text.size() < n + 2)
        return false;
    for (std::size_t i = 0; i + n + 2 <= text.size(); ++i) {
        if (text[i + n] != '=' || text[i + n + 1] != '"')
            continue;
        bool same = true;
        for (std::size_t k = 0; k < n && same; ++k)
            same = platform::upperCp1251(text[i + k]) == platform::upperCp1251(name[k]);
        if (!same)
            continue;
        if (i > 0 && text[i - 1] != ' ')
            return false;
        std::size_t start = i + n + 2;
        std::size_t end = text.find('"', start);
        if (end == std::string_view::npos)
            end = text.size();
        value = text.substr(start, end - start);
        return true;
    }
    return false;
}

std::string TfsXMLItem::Prop(std::string_view name) const
{
    std::string_view raw;
    if (!RawProp(name, raw))
        return {};
    return XmlUnescape(raw);
}

TfsXMLItem& TfsXMLItem::Root() noexcept
{
    TfsXMLItem* p = this;
    while (p->parent_)
        p = p->parent_;
    return *p;
}

void TfsXMLItem::Assign(const TfsXMLItem& source)
{
    if (&source == this)
        return;
    // A source inside this element's subtree would be freed by the clear
    // below, and one that contains this element would grow while it is
    // copied: copy such a source aside first.
    bool related = false;
    for (const TfsXMLItem* p = source.parent_; p && !related; p = p->parent_)
        related = p == this;
    for (const TfsXMLItem* p = parent_; p && !related; p = p->parent_)
        related = p == &source;
    if (related) {
        TfsXMLItem copy;
        copy.Assign(source);
        Assign(copy);
        return;
    }
    Clear();
    name_ = source.name_;
    text_ = source.text_;
    Data = source.Data;
    // Depth-first copy without recursion.
    struct Step {
        const TfsXMLItem* from;
        TfsXMLItem* to;
    };
    std::vector<Step> pending{{&source, this}};
    while (!pending.empty()) {
        Step s = pending.back();
        pending.pop_back();
        s.to->items_.reserve(s.from->items_.size());
        for (const TfsXMLItem* child : s.from->items_) {
            TfsXMLItem& c = s.to->Add();
            c.name_ = child->name_;
            c.text_ = child->text_;
            c.Data = child->Data;
            if (!child->items_.empty())
                pending.push_back({child, &c});
        }
    }
}

} // namespace script
