#include "Person.h"

#include "Palette.h"

namespace picgen {

Person morrik() {
  Person p;
  p.name = "morrik";
  p.seed = 0x6d6f72u;
  p.skin = Rgba(0.86f, 0.64f, 0.50f);
  p.hair = Rgba(0.16f, 0.10f, 0.07f);
  p.hairShine = Rgba(0.75f, 0.48f, 0.26f);
  p.iris = Rgba(0.30f, 0.50f, 0.35f);
  p.lips = Rgba(0.72f, 0.40f, 0.36f);
  p.cloth = Rgba(0.14f, 0.17f, 0.24f);
  p.clothTrim = palette::kAmber;
  p.rim = palette::kAmber;
  p.headWidth = 0.98f;
  p.jawWidth = 1.04f;
  p.eyeSize = 0.95f;
  p.browLift = -0.01f;
  p.mouthWidth = 1.05f;
  p.smile = 0.025f;
  p.tilt = -0.05f;
  p.gaze = 0.12f;
  p.hairStyle = Person::Hair::Spiky;
  p.glasses = true;
  p.hoodie = true;
  return p;
}

Person telva() {
  Person p;
  p.name = "telva";
  p.seed = 0x74656cu;
  p.skin = Rgba(0.93f, 0.76f, 0.66f);
  p.hair = Rgba(0.30f, 0.16f, 0.30f);
  p.hairShine = Rgba(0.80f, 0.62f, 0.95f);
  p.iris = Rgba(0.25f, 0.45f, 0.70f);
  p.lips = Rgba(0.78f, 0.34f, 0.42f);
  p.cloth = Rgba(0.10f, 0.22f, 0.32f);
  p.clothTrim = palette::kIce;
  p.rim = Rgba(0.55f, 0.75f, 1.0f);
  p.headWidth = 0.93f;
  p.jawWidth = 0.90f;
  p.eyeSize = 1.08f;
  p.browLift = 0.02f;
  p.mouthWidth = 0.95f;
  p.smile = 0.03f;
  p.tilt = 0.07f;
  p.gaze = -0.08f;
  p.hairStyle = Person::Hair::Long;
  p.earrings = true;
  return p;
}

Person pulkar() {
  Person p;
  p.name = "pulkar";
  p.seed = 0x70756cu;
  p.skin = Rgba(0.56f, 0.38f, 0.28f);
  p.hair = Rgba(0.17f, 0.12f, 0.11f);
  p.hairShine = Rgba(0.55f, 0.80f, 0.85f);
  p.iris = Rgba(0.30f, 0.20f, 0.12f);
  p.lips = Rgba(0.50f, 0.28f, 0.26f);
  p.cloth = Rgba(0.55f, 0.16f, 0.32f);
  p.clothTrim = palette::kTeal;
  p.rim = Rgba(0.35f, 0.95f, 1.0f);
  p.headWidth = 1.02f;
  p.jawWidth = 1.0f;
  p.eyeSize = 1.0f;
  p.browLift = 0.01f;
  p.mouthWidth = 1.08f;
  p.smile = 0.04f;
  p.tilt = 0.03f;
  p.gaze = 0.0f;
  p.hairStyle = Person::Hair::Curls;
  p.headphones = true;
  return p;
}

Person dransel() {
  Person p;
  p.name = "dransel";
  p.seed = 0x647261u;
  p.skin = Rgba(0.90f, 0.70f, 0.58f);
  p.hair = Rgba(0.55f, 0.30f, 0.14f);
  p.hairShine = Rgba(1.0f, 0.78f, 0.45f);
  p.iris = Rgba(0.35f, 0.55f, 0.75f);
  p.lips = Rgba(0.70f, 0.40f, 0.38f);
  p.cloth = Rgba(0.16f, 0.30f, 0.36f);
  p.clothTrim = palette::kGold;
  p.rim = palette::kGold;
  p.headWidth = 1.0f;
  p.jawWidth = 1.08f;
  p.eyeSize = 0.92f;
  p.browLift = -0.015f;
  p.mouthWidth = 1.0f;
  p.smile = 0.02f;
  p.tilt = -0.08f;
  p.gaze = 0.1f;
  p.hairStyle = Person::Hair::Crop;
  p.beard = true;
  return p;
}

}  // namespace picgen
