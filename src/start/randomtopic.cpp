#include "start/randomtopic.h"

#include <random>

int drawRandomTopic(int limit, std::uint64_t seed)
{
    std::mt19937_64 generator(seed);
    const auto r = std::generate_canonical<double, 53>(generator);
    const int number = static_cast<int>(r * limit) + 1;
    // generate_canonical may return 1.0 through rounding; keep the number in range.
    return number > limit ? limit : number;
}
