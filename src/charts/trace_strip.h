#pragma once

#include <cstdint>
#include <vector>

// The trace ring unrolled into a straight strip: one column per minute of the day, row k at
// radius R1 + k. 255 is paper; any other value is the trace's intensity at that point.
struct TraceStrip {
    static constexpr int kColumns = 1440;
    static constexpr std::uint8_t kPaper = 255;

    int rows = 0;
    int threshold = 0; // intensities above it read as paper
    int paperLevel = 0; // the paper's mean intensity just inside R1
    std::vector<std::uint8_t> values; // rows × kColumns, row by row

    std::uint8_t at(int column, int row) const { return values[static_cast<std::size_t>(row) * kColumns + column]; }
    std::uint8_t& at(int column, int row) { return values[static_cast<std::size_t>(row) * kColumns + column]; }
};
