#include "script/editor/line_store.h"

#include <algorithm>
#include <cassert>
#include <iterator>

namespace script::editor {

LineStore::LineStore(std::vector<std::string> lines)
{
    starts_.push_back(0);
    insert(0, std::move(lines));
}

std::size_t LineStore::blockOf(std::size_t index) const noexcept
{
    // The last block whose start is not past index.
    auto it = std::upper_bound(starts_.begin(), starts_.end() - 1, index);
    return std::size_t(it - starts_.begin()) - 1;
}

const std::string& LineStore::operator[](std::size_t index) const
{
    assert(index < size());
    std::size_t b = blockOf(index);
    return blocks_[b]->lines[index - starts_[b]];
}

LineStore::Block& LineStore::own(std::size_t block)
{
    auto& ptr = blocks_[block];
    if (ptr.use_count() > 1)
        ptr = std::make_shared<Block>(*ptr);
    return *ptr;
}

std::string& LineStore::edit(std::size_t index)
{
    assert(index < size());
    std::size_t b = blockOf(index);
    return own(b).lines[index - starts_[b]];
}

void LineStore::renumberFrom(std::size_t block)
{
    starts_.resize(blocks_.size() + 1);
    for (std::size_t b = block; b < blocks_.size(); ++b)
        starts_[b + 1] = starts_[b] + blocks_[b]->lines.size();
}

void LineStore::splitIfLarge(std::size_t block)
{
    auto& lines = blocks_[block]->lines;
    if (lines.size() <= kMaxBlock)
        return;
    std::vector<std::shared_ptr<Block>> pieces;
    for (std::size_t from = kBlockLines; from < lines.size(); from += kBlockLines) {
        auto piece = std::make_shared<Block>();
        std::size_t to = std::min(lines.size(), from + kBlockLines);
        piece->lines.assign(std::make_move_iterator(lines.begin() + std::ptrdiff_t(from)),
                            std::make_move_iterator(lines.begin() + std::ptrdiff_t(to)));
        pieces.push_back(std::move(piece));
    }
    lines.resize(kBlockLines);
    lines.shrink_to_fit();
    blocks_.insert(blocks_.begin() + std::ptrdiff_t(block + 1), std::make_move_iterator(pieces.begin()),
                   std::make_move_iterator(pieces.end()));
}

void LineStore::insert(std::size_t at, std::vector<std::string> lines)
{
    assert(at <= size());
    if (lines.empty())
        return;
    if (blocks_.empty()) {
        blocks_.push_back(std::make_shared<Block>(Block{std::move(lines)}));
        starts_.assign(1, 0);
        splitIfLarge(0);
        renumberFrom(0);
        return;
    }
    // At the very end, the last block takes the lines.
    std::size_t b = at == size() ? blocks_.size() - 1 : blockOf(at);
    Block& block = own(b);
    block.lines.insert(block.lines.begin() + std::ptrdiff_t(at - starts_[b]), std::make_move_iterator(lines.begin()),
                       std::make_move_iterator(lines.end()));
    splitIfLarge(b);
    renumberFrom(b);
}

void LineStore::erase(std::size_t at, std::size_t count)
{
    assert(at + count <= size());
    if (count == 0)
        return;
    std::size_t first = blockOf(at);
    std::size_t b = first;
    std::size_t left = count;
    std::size_t offset = at - starts_[b];
    while (left > 0) {
        std::size_t inBlock = blocks_[b]->lines.size() - offset;
        std::size_t n = std::min(inBlock, left);
        if (offset == 0 && n == blocks_[b]->lines.size()) {
            blocks_[b].reset(); // the whole block goes; not copied first
        } else {
            auto& lines = own(b).lines;
            lines.erase(lines.begin() + std::ptrdiff_t(offset), lines.begin() + std::ptrdiff_t(offset + n));
        }
        left -= n;
        offset = 0;
        ++b;
    }
    blocks_.erase(std::remove(blocks_.begin() + std::ptrdiff_t(first), blocks_.begin() + std::ptrdiff_t(b), nullptr),
                  blocks_.begin() + std::ptrdiff_t(b));
    // Two small neighbours become one, so deleting line by line never
    // leaves thousands of tiny blocks.
    if (first < blocks_.size() && first + 1 < blocks_.size() &&
        blocks_[first]->lines.size() + blocks_[first + 1]->lines.size() <= kBlockLines) {
        auto& into = own(first).lines;
        const auto& from = blocks_[first + 1]->lines;
        into.insert(into.end(), from.begin(), from.end());
        blocks_.erase(blocks_.begin() + std::ptrdiff_t(first + 1));
    }
    renumberFrom(first);
}

std::vector<std::string> LineStore::toVector() const
{
    std::vector<std::string> out;
    out.reserve(size());
    for (const auto& block : blocks_)
        out.insert(out.end(), block->lines.begin(), block->lines.end());
    return out;
}

std::size_t LineStore::commonPrefix(const LineStore& a, const LineStore& b)
{
    const std::size_t limit = std::min(a.size(), b.size());
    std::size_t i = 0;
    while (i < limit) {
        std::size_t ba = a.blockOf(i), bb = b.blockOf(i);
        if (a.blocks_[ba] == b.blocks_[bb] && a.starts_[ba] == b.starts_[bb]) {
            i = std::min(limit, a.starts_[ba + 1]);
            continue;
        }
        if (a[i] != b[i])
            break;
        ++i;
    }
    return i;
}

std::size_t LineStore::commonSuffix(const LineStore& a, const LineStore& b, std::size_t prefix)
{
    const std::size_t limit = std::min(a.size(), b.size()) - prefix;
    std::size_t n = 0;
    while (n < limit) {
        std::size_t ia = a.size() - 1 - n, ib = b.size() - 1 - n;
        std::size_t ba = a.blockOf(ia), bb = b.blockOf(ib);
        // The same block at the same distance from both ends: all of it,
        // down to its first line, is equal.
        if (a.blocks_[ba] == b.blocks_[bb] && ia - a.starts_[ba] == ib - b.starts_[bb]) {
            n = std::min(limit, n + (ia - a.starts_[ba]) + 1);
            continue;
        }
        if (a[ia] != b[ib])
            break;
        ++n;
    }
    return n;
}

} // namespace script::editor
