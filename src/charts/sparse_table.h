#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// One 16-bit entry per pixel of a width × height picture, all 0 at first, kept in tiles of
// 64 × 32 entries that are only allocated when an entry of theirs is first touched. For
// memos of searches that read a small part of a picture: a full table would cost filling (or
// faulting in) memory mostly never read, and with rows laid out one after another a search
// walking a column would touch every part of it. x and y must lie inside the picture.
class SparseTable {
public:
    SparseTable(int width, int height)
        : m_tilesAcross((width + kTileWidth - 1) / kTileWidth),
          m_tiles(static_cast<std::size_t>(m_tilesAcross) * ((height + kTileHeight - 1) / kTileHeight))
    {
    }

    std::uint16_t& at(int x, int y)
    {
        // Unsigned, so that dividing by the tile size is a plain shift.
        const auto ux = static_cast<std::size_t>(x);
        const auto uy = static_cast<std::size_t>(y);
        std::unique_ptr<std::uint16_t[]>& tile = m_tiles[uy / kTileHeight * m_tilesAcross + ux / kTileWidth];
        if (!tile)
            tile = std::make_unique<std::uint16_t[]>(kTileWidth * kTileHeight); // zeroed
        return tile[uy % kTileHeight * kTileWidth + ux % kTileWidth];
    }

private:
    static constexpr std::size_t kTileWidth = 64;
    static constexpr std::size_t kTileHeight = 32;
    std::size_t m_tilesAcross;
    std::vector<std::unique_ptr<std::uint16_t[]>> m_tiles;
};
