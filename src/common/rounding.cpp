#include "common/rounding.h"

#include <cmath>

double RoundHalfEven(double value)
{
    if (std::abs(value - std::trunc(value)) == 0.5) {
        return 2.0 * std::round(value / 2.0);
    }
    return std::round(value);
}
