#pragma once

// Rounds to the nearest whole number, halves to the even neighbour (2,5 -> 2, 3,5 -> 4),
// whatever the floating-point rounding mode is.
double RoundHalfEven(double value);
