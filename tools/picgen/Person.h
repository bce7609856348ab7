// Picture generator: the description of one of the show's four people, from
// which PortraitPainter draws a stylised bust. These are invented
// characters drawn from shapes and noise, never likenesses of anyone.
#pragma once

#include <cstdint>

#include "Rgba.h"

namespace picgen {

struct Person {
  enum class Hair { Crop, Spiky, Long, Curls };

  const char* name = "";
  uint32_t seed = 1;

  // Straight colours.
  Rgba skin;
  Rgba hair;
  Rgba hairShine;
  Rgba iris;
  Rgba lips;
  Rgba cloth;
  Rgba clothTrim;
  Rgba rim;  // back light from the right, in the person's accent colour

  // Shape, in head units (the head spans about -1 to 1 vertically).
  float headWidth = 1.0f;  // scales the cranium's width
  float jawWidth = 1.0f;   // scales the jaw's width
  float eyeSize = 1.0f;
  float eyeSpacing = 0.27f;
  float browLift = 0.0f;   // raises the brows (surprise, openness)
  float mouthWidth = 1.0f;
  float smile = 0.01f;     // how far the mouth corners rise
  float tilt = 0.0f;       // head tilt in radians, positive leans right
  float gaze = 0.0f;       // iris offset, in eye widths

  Hair hairStyle = Hair::Crop;
  bool glasses = false;
  bool headphones = false;
  bool earrings = false;
  bool beard = false;
  bool hoodie = false;
};

// The four people of the show.
Person morrik();   // photo scene: spiky hair, glasses, hoodie; amber light
Person telva();    // second photo scene: long waves, hoops; ice and violet light
Person pulkar();   // tunnel scene: curls and headphones; teal and rose light
Person dransel();  // knot scene: crop and beard; gold light

}  // namespace picgen
