#include "platform/numeric.h"

#include <cmath>

double roundHalfEven(double value)
{
    // Not nearbyint: the result must not depend on the floating-point rounding mode.
    const double lower = std::floor(value);
    const double fraction = value - lower;
    if (fraction < 0.5)
        return lower;
    if (fraction > 0.5)
        return lower + 1.0;
    return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}
