#include "plot/model/grid_reduction.h"

#include <algorithm>
#include <cassert>
#include <limits>

namespace halvex {

std::vector<std::int32_t> KeptLines(std::int32_t n, std::int32_t limit)
{
    std::vector<std::int32_t> kept;
    if (n <= 0)
        return kept;
    if (limit < 2 || n <= limit) {
        kept.resize(std::size_t(n));
        for (std::int32_t i = 0; i < n; ++i)
            kept[std::size_t(i)] = i;
        return kept;
    }
    // The smallest step that gets the n − 1 intervals into limit − 1.
    const std::int32_t k = (n - 2) / (limit - 1) + 1;
    kept.reserve(std::size_t((n - 1) / k + 2));
    for (std::int32_t i = 0; i < n - 1; i += k)
        kept.push_back(i);
    kept.push_back(n - 1);
    assert(std::int32_t(kept.size()) <= limit);
    return kept;
}

namespace {

// For each full line, the kept line whose block it belongs to: the nearest
// kept line, the lower one on a tie.
std::vector<std::int32_t> BlockOwners(const std::vector<std::int32_t>& kept, std::int32_t n)
{
    std::vector<std::int32_t> owner(static_cast<std::size_t>(n));
    std::size_t b = 0;
    for (std::int32_t t = 0; t < n; ++t) {
        while (b + 1 < kept.size() && kept[b + 1] - t < t - kept[b])
            ++b;
        owner[std::size_t(t)] = std::int32_t(b);
    }
    return owner;
}

struct BlockExtremes {
    float high = -std::numeric_limits<float>::infinity();
    float low = std::numeric_limits<float>::infinity();
    std::size_t highAt = 0;
    std::size_t lowAt = 0;
};

} // namespace

void ReducedGrid::Clear() noexcept
{
    heights_ = xyz_ = sourceNormals_ = nullptr;
    rows_ = cols_ = 0;
    limit_ = -1;
    result_ = {};
    values_.clear();
    normals_.clear();
    rowAt_.clear();
    colAt_.clear();
}

GridSource ReducedGrid::Reduce(const GridSource& g, std::int32_t limit)
{
    if (limit < 2 || (g.rows <= limit && g.cols <= limit) || g.rowAt || g.colAt)
        return g;
    if (g.heights == heights_ && g.xyz == xyz_ && g.normals == sourceNormals_ && g.rows == rows_ &&
        g.cols == cols_ && limit == limit_)
        return result_;
    result_ = Build(g, limit);
    heights_ = g.heights;
    xyz_ = g.xyz;
    sourceNormals_ = g.normals;
    rows_ = g.rows;
    cols_ = g.cols;
    limit_ = limit;
    return result_;
}

GridSource ReducedGrid::Build(const GridSource& g, std::int32_t limit)
{
    const std::vector<std::int32_t> keptRows = KeptLines(g.rows, limit);
    const std::vector<std::int32_t> keptCols = KeptLines(g.cols, limit);
    const std::int32_t m = std::int32_t(keptRows.size()), q = std::int32_t(keptCols.size());
    const std::vector<std::int32_t> rowOwner = BlockOwners(keptRows, g.rows);
    const std::vector<std::int32_t> colOwner = BlockOwners(keptCols, g.cols);
    auto value = [&g](std::size_t k) { return g.heights ? g.heights[k] : g.xyz[3 * k + 1]; };
    auto reducedIndex = [m](std::int32_t I, std::int32_t J) { return std::size_t(I) + std::size_t(J) * std::size_t(m); };

    // One pass over the full grid in memory order: each block's highest and
    // lowest value and where they are. NaN never wins a comparison.
    std::vector<BlockExtremes> blocks(std::size_t(m) * std::size_t(q));
    for (std::int32_t j = 0; j < g.cols; ++j) {
        BlockExtremes* column = blocks.data() + reducedIndex(0, colOwner[std::size_t(j)]);
        const std::size_t base = std::size_t(j) * std::size_t(g.rows);
        for (std::int32_t i = 0; i < g.rows; ++i) {
            const std::size_t k = base + std::size_t(i);
            const float v = value(k);
            BlockExtremes& b = column[rowOwner[std::size_t(i)]];
            if (v > b.high) {
                b.high = v;
                b.highAt = k;
            }
            if (v < b.low) {
                b.low = v;
                b.lowAt = k;
            }
        }
    }

    // The plain samples at the kept vertices.
    std::vector<float> sample(blocks.size());
    for (std::int32_t J = 0; J < q; ++J)
        for (std::int32_t I = 0; I < m; ++I)
            sample[reducedIndex(I, J)] = value(g.index(keptRows[std::size_t(I)], keptCols[std::size_t(J)]));

    const bool stored = g.heights == nullptr;
    values_.assign(blocks.size() * (stored ? 3 : 1), 0.0f);
    normals_.assign(g.normals ? blocks.size() * 3 : 0, 0.0f);
    for (std::int32_t J = 0; J < q; ++J) {
        for (std::int32_t I = 0; I < m; ++I) {
            const std::size_t r = reducedIndex(I, J);
            // What the neighbours show; the block's highest and lowest
            // value compete by how far each sticks out beyond it.
            float shownHigh = -std::numeric_limits<float>::infinity();
            float shownLow = std::numeric_limits<float>::infinity();
            for (std::int32_t b = std::max(J - 1, 0); b <= std::min(J + 1, q - 1); ++b)
                for (std::int32_t a = std::max(I - 1, 0); a <= std::min(I + 1, m - 1); ++a) {
                    if (a == I && b == J)
                        continue;
                    const float s = sample[reducedIndex(a, b)];
                    shownHigh = std::max(shownHigh, s);
                    shownLow = std::min(shownLow, s);
                }
            if (shownHigh < shownLow)
                shownHigh = shownLow = sample[r]; // no neighbours
            const BlockExtremes& e = blocks[r];
            std::size_t chosen = g.index(keptRows[std::size_t(I)], keptCols[std::size_t(J)]);
            const float above = e.high - shownHigh, below = shownLow - e.low;
            if (above > 0.0f && !(below > above))
                chosen = e.highAt;
            else if (below > 0.0f)
                chosen = e.lowAt;
            if (stored)
                std::copy_n(g.xyz + 3 * chosen, 3, values_.data() + 3 * r);
            else
                values_[r] = g.heights[chosen];
            if (g.normals)
                std::copy_n(g.normals + 3 * chosen, 3, normals_.data() + 3 * r);
        }
    }

    GridSource out = g; // keeps where an interpolated grid lies
    out.heights = nullptr;
    out.xyz = nullptr;
    out.rows = m;
    out.cols = q;
    out.normals = g.normals ? normals_.data() : nullptr;
    if (stored) {
        out.xyz = values_.data();
        rowAt_.clear();
        colAt_.clear();
    } else {
        out.heights = values_.data();
        rowAt_.assign(keptRows.begin(), keptRows.end());
        colAt_.assign(keptCols.begin(), keptCols.end());
        out.rowAt = rowAt_.data();
        out.colAt = colAt_.data();
    }
    return out;
}

} // namespace halvex
