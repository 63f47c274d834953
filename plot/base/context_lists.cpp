#include "plot/base/context_lists.h"

#include "plot/base/gl_generation.h"

#include <GL/gl.h>

#include <algorithm>

namespace halvex {

const ContextLists::Entry* ContextLists::Current() const
{
    std::uint64_t generation = glgen::Current();
    if (generation == 0)
        return nullptr;
    for (const Entry& e : entries_)
        if (e.generation == generation)
            return &e;
    return nullptr;
}

ContextLists::Entry* ContextLists::Current(bool make)
{
    if (Entry* e = const_cast<Entry*>(static_cast<const ContextLists&>(*this).Current()))
        return e;
    std::uint64_t generation = glgen::Current();
    if (!make || generation == 0)
        return nullptr;
    // Names of contexts that are gone went with them.
    std::erase_if(entries_, [](const Entry& e) { return !glgen::Live(e.generation); });
    unsigned base = glGenLists(count_);
    if (base == 0)
        return nullptr;
    entries_.push_back({generation, base, 0});
    return &entries_.back();
}

unsigned ContextLists::Name(int k)
{
    Entry* e = Current(true);
    return e && k >= 0 && k < count_ ? e->base + unsigned(k) : 0;
}

bool ContextLists::Built(int k) const
{
    const Entry* e = Current();
    return e && (e->built >> k & 1u);
}

bool ContextLists::Begin(int k)
{
    unsigned name = Name(k);
    if (name == 0)
        return false;
    glNewList(name, GL_COMPILE);
    return true;
}

void ContextLists::End(int k)
{
    glEndList();
    if (Entry* e = Current(false))
        e->built |= 1u << k;
}

void ContextLists::Call(int k) const
{
    const Entry* e = Current();
    if (e && (e->built >> k & 1u))
        glCallList(e->base + unsigned(k));
}

void ContextLists::Discard(int k)
{
    for (Entry& e : entries_)
        e.built &= ~(1u << k);
}

void ContextLists::DiscardAll()
{
    for (Entry& e : entries_)
        e.built = 0;
}

} // namespace halvex
