#pragma once
// The lines of the editor's text, in blocks that copies share: copying a
// store copies a few hundred block pointers, and a block is copied only when
// a line in it changes while another store holds it. The undo snapshots are
// such copies, so 32 of them cost little more than the text itself.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace script::editor {

class LineStore {
public:
    LineStore() { starts_.push_back(0); }
    explicit LineStore(std::vector<std::string> lines);

    std::size_t size() const noexcept { return starts_.back(); }
    bool empty() const noexcept { return size() == 0; }
    // index < size().
    const std::string& operator[](std::size_t index) const;
    // The line, unshared first when a copy of the store holds its block.
    std::string& edit(std::size_t index);

    // Inserts before `at` (at <= size()).
    void insert(std::size_t at, std::vector<std::string> lines);
    // Removes [at, at + count) (at + count <= size()).
    void erase(std::size_t at, std::size_t count);

    std::vector<std::string> toVector() const;

    // Lines equal at the start of both stores, and at their end (the
    // suffix never overlaps the prefix of either). Shared blocks compare
    // without looking at their lines.
    static std::size_t commonPrefix(const LineStore& a, const LineStore& b);
    static std::size_t commonSuffix(const LineStore& a, const LineStore& b, std::size_t prefix);

    // Calls f(index, line) for the lines [from, to) in order.
    template <class F>
    void forEach(std::size_t from, std::size_t to, F&& f) const
    {
        if (from >= to)
            return;
        std::size_t b = blockOf(from);
        std::size_t i = from;
        while (i < to) {
            const auto& lines = blocks_[b]->lines;
            for (std::size_t k = i - starts_[b]; k < lines.size() && i < to; ++k, ++i)
                f(i, lines[k]);
            ++b;
        }
    }

private:
    struct Block {
        std::vector<std::string> lines;
    };
    // A block grows to kMaxBlock lines before it is split in pieces of
    // kBlockLines.
    static constexpr std::size_t kBlockLines = 256;
    static constexpr std::size_t kMaxBlock = 2 * kBlockLines;

    std::size_t blockOf(std::size_t index) const noexcept;
    Block& own(std::size_t block);
    void splitIfLarge(std::size_t block);
    void renumberFrom(std::size_t block);

    std::vector<std::shared_ptr<Block>> blocks_;
    // starts_[b]: the index of block b's first line; one more entry, the
    // line count.
    std::vector<std::size_t> starts_;
};

} // namespace script::editor
