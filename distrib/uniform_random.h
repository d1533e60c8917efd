// The unit's uniform pseudo-random generator: a combined multiplicative
// congruential generator in 32-bit integer arithmetic (Schrage's method).
#pragma once

#include <cstdint>

#include "core/extended.h"

// The generator state, seeded with 897183450 and 1841323562, so that every
// run draws the same sequence. Each thread has its own pair (no part of the
// system draws from several threads; this keeps such use free of races).
extern thread_local std::int32_t RandomSeed1;
extern thread_local std::int32_t RandomSeed2;

// The seeds the generator starts from.
constexpr std::int32_t InitialRandomSeed1 = 897183450;
constexpr std::int32_t InitialRandomSeed2 = 1841323562;

// The next draw, strictly between 0 and 1.
extended UniformRandom();
