#ifndef GELMARCH_ASSETGEN_NOISE_H
#define GELMARCH_ASSETGEN_NOISE_H

#include <cstdint>

// A small deterministic generator (splitmix64), so every run draws the same art.
class Rng {
public:
    explicit Rng(uint64_t seed) : state(seed) {}
    uint64_t next();
    // Uniform in [0, 1).
    float unit();
    // Uniform in [lo, hi).
    float range(float lo, float hi) { return lo + (hi - lo) * unit(); }
    // Uniform integer in [0, n).
    int below(int n) { return static_cast<int>(next() % static_cast<uint64_t>(n)); }

private:
    uint64_t state;
};

// Mixes integers into a well-spread 32-bit value.
uint32_t hash3(int x, int y, int z, int seed);
// Gradient noise in about -1..1. With period > 0 the lattice wraps every `period` cells on both axes,
// so a picture that spans exactly `period` cells tiles without a seam.
float noise2(float x, float y, int period, int seed);
// Sum of octaves of noise2, each twice the frequency (and twice the period) of the one before.
float fbm2(float x, float y, int period, int octaves, float gain, int seed);
// Ridged variant: sharp crests where the noise crosses zero, in 0..1.
float ridged2(float x, float y, int period, int octaves, float gain, int seed);
// Cellular distances: the nearest and second-nearest feature point of a jittered grid, in cell units,
// wrapping every `period` cells (period > 0). cellId receives a hash of the nearest cell.
void cellular2(float x, float y, int period, int seed, float* f1, float* f2, uint32_t* cellId);
// Plain 3D gradient noise and its octave sum (for directions on the sky).
float noise3(float x, float y, float z, int seed);
float fbm3(float x, float y, float z, int octaves, float gain, int seed);

// Small helpers used across the generators.
float clampf(float v, float lo, float hi);
float smoothstep(float e0, float e1, float v);
float mixf(float a, float b, float t);

#endif
