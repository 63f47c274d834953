#pragma once
// Display lists that one object keeps in every GL context it draws in.
// Names come from glGenLists, a block per object and context, so they never
// collide with glyph lists or another object's lists. Whether each list
// holds its current drawing is kept per context: discarding forgets the
// contents everywhere, and the next frame in each context records again.

#include <cstdint>
#include <vector>

namespace halvex {

class ContextLists {
public:
    explicit ContextLists(int count) noexcept : count_(count) {}
    ContextLists(const ContextLists&) = delete;
    ContextLists& operator=(const ContextLists&) = delete;

    // The name of list k in the current context (reserved on first use), or
    // 0 when no context is current or no name can be had.
    unsigned Name(int k);
    // List k holds its drawing in the current context.
    bool Built(int k) const;
    // Records list k in the current context: Begin starts it (false when no
    // name can be had; nothing is recorded then), End finishes it.
    bool Begin(int k);
    void End(int k);
    // Plays list k when it holds its drawing in the current context.
    void Call(int k) const;
    // Every context forgets what list k (or every list) holds.
    void Discard(int k);
    void DiscardAll();

private:
    struct Entry {
        std::uint64_t generation;
        unsigned base;
        std::uint32_t built;
    };
    Entry* Current(bool make);
    const Entry* Current() const;

    int count_;
    std::vector<Entry> entries_;
};

} // namespace halvex
