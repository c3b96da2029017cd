#include "charts/ycc_image.h"

#include <algorithm>

Raster NearestRaster(const YccImage& source, const std::vector<int>& columns, const std::vector<int>& rows)
{
    Raster target;
    AllocateRaster(target, static_cast<int>(columns.size()), static_cast<int>(rows.size()));
    for (int y = 0; y < target.height; ++y) {
        std::uint32_t* out = target.row(y);
        const int row = rows[static_cast<std::size_t>(y)];
        if (row < 0) {
            std::fill(out, out + target.width, kOpaqueBlack);
            continue;
        }
        const YccRow colours(source, row);
        for (int x = 0; x < target.width; ++x) {
            const int column = columns[static_cast<std::size_t>(x)];
            out[x] = column >= 0 ? colours(column) : kOpaqueBlack;
        }
    }
    return target;
}
