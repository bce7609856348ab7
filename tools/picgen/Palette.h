// Picture generator: the show's palette. The scenes clear to a deep blue
// (0.1, 0.2, 0.3), fade in through pale blue and light their tubes with amber
// and ice; the pictures keep to the same family so that every scene reads as
// one piece: night blues and teals for depth, ice cyan for light, amber and
// gold for warmth, a rose accent used sparingly.
#pragma once

#include "Rgba.h"

namespace picgen::palette {

constexpr Rgba kNight(0.012f, 0.018f, 0.050f);
constexpr Rgba kDeepBlue(0.040f, 0.085f, 0.190f);
constexpr Rgba kSceneBlue(0.10f, 0.20f, 0.30f);
constexpr Rgba kTeal(0.090f, 0.420f, 0.520f);
constexpr Rgba kIce(0.620f, 0.880f, 1.000f);
constexpr Rgba kFrost(0.900f, 0.960f, 1.000f);
constexpr Rgba kAmber(1.000f, 0.600f, 0.200f);
constexpr Rgba kGold(1.000f, 0.820f, 0.460f);
constexpr Rgba kEmber(0.700f, 0.220f, 0.080f);
constexpr Rgba kRose(0.880f, 0.300f, 0.560f);
constexpr Rgba kViolet(0.360f, 0.220f, 0.620f);
constexpr Rgba kWhite(1.0f, 1.0f, 1.0f);
constexpr Rgba kBlack(0.0f, 0.0f, 0.0f);

}  // namespace picgen::palette
