#pragma once

// Rounds to the nearest whole number, a value exactly halfway going to the even
// neighbour (0.5 gives 0, 1.5 gives 2, 2.5 gives 2).
double roundHalfEven(double value);
