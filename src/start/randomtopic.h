#pragma once

#include <cstdint>

// A topic number from 1 to limit, from a generator seeded with seed.
int drawRandomTopic(int limit, std::uint64_t seed);
