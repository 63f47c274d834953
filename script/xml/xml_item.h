#pragma once
// TfsXMLItem: one element of the engine's XML model. An element has a name
// and the raw attribute text of its start tag (still escaped); it owns its
// children, so freeing an element frees its subtree and takes it out of its
// parent's list.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace script {

class TfsXMLItem {
public:
    TfsXMLItem() = default;
    ~TfsXMLItem();
    TfsXMLItem(const TfsXMLItem&) = delete;
    TfsXMLItem& operator=(const TfsXMLItem&) = delete;

    const std::string& Name() const noexcept { return name_; }
    void SetName(std::string_view name) { name_ = name; }
    // The attribute text: everything after the first blank of the start tag.
    const std::string& Text() const noexcept { return text_; }
    void SetText(std::string_view text) { text_ = text; }

    TfsXMLItem* Parent() const noexcept { return parent_; }
    int Count() const noexcept { return static_cast<int>(items_.size()); }
    // Throws "List index out of bounds" outside 0..Count-1.
    TfsXMLItem& Items(int index) const;
    TfsXMLItem& operator[](int index) const { return Items(index); }

    // A new empty child at the end.
    TfsXMLItem& Add();
    // Takes item over (it leaves its former parent); an item cannot become
    // a child of itself or of one of its descendants.
    void AddItem(TfsXMLItem* item);
    void InsertItem(int index, TfsXMLItem* item);
    // Index of the first child of that name (ignoring case), or -1.
    int Find(std::string_view name) const noexcept;
    // The first child of that name; added when there is none.
    TfsXMLItem& FindItem(std::string_view name);
    // One attribute's value, unescaped; empty when absent.
    std::string Prop(std::string_view name) const;
    // The raw (still escaped) value, or false when the attribute is absent.
    bool RawProp(std::string_view name, std::string_view& value) const noexcept;

    TfsXMLItem& Root() noexcept;
    void Clear();
    // Replaces this element's name, attribute text, data and children by a
    // deep copy of source's.
    void Assign(const TfsXMLItem& source);

    // Free for the user; copied by Assign, never freed.
    void* Data = nullptr;

    // An element that something outside the tree refers to (a script's
    // object reference) is reported to Gone when it is freed, so that the
    // reference dies with it.
    void MarkReferenced() noexcept { referenced_ = true; }
    static void (*Gone)(TfsXMLItem* item) noexcept;

private:
    void detach() noexcept;
    void checkAdoptable(const TfsXMLItem* item) const;

    std::string name_;
    std::string text_;
    TfsXMLItem* parent_ = nullptr;
    bool referenced_ = false;
    std::vector<TfsXMLItem*> items_; // owned
};

} // namespace script
