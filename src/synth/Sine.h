// The synthesizer's sine. Its sound is computed in single precision with the
// sine taken in double and rounded back; the C library's sin costs far more
// than the rest of a voice and differs between platforms. This one is a
// double-precision sine within one unit in the last place, so its float
// roundings match a correctly rounded sine's except where the exact value lies
// within that unit of a float rounding boundary, and it computes many values
// at once with the same floats on every platform and vector width.
#pragma once

#include <cstdint>

// sin(x) in double for |x| below 2^20; larger or non-finite arguments, which
// no musical set-up produces, go to the C library.
double sine(double x);

// float(sine(double(x))).
inline float roundedSine(float x) { return float(sine(double(x))); }

// out[i] = roundedSine(in[i]) for n values; out may be in.
void roundedSines(const float* in, float* out, int n);

// The block sine's kernels, for the test that every one gives the same floats:
// the portable one, and the wider one chosen at run time where the processor
// has it (null where it does not).
using SineKernel = void (*)(const float* in, float* out, int n);
SineKernel portableSineKernel();
SineKernel wideSineKernel();
