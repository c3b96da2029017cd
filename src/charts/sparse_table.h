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
        const std::size_t tileIndex = static_cast<std::size_t>(y / kTileHeight) * m_tilesAcross + x / kTileWidth;
        std::unique_ptr<std::uint16_t[]>& tile = m_tiles[tileIndex];
        if (!tile)
            tile = std::make_unique<std::uint16_t[]>(kTileWidth * kTileHeight); // zeroed
        return tile[(y % kTileHeight) * kTileWidth + x % kTileWidth];
    }

private:
    static constexpr int kTileWidth = 64;
    static constexpr int kTileHeight = 32;
    int m_tilesAcross;
    std::vector<std::unique_ptr<std::uint16_t[]>> m_tiles;
};
