#include "PortraitPainter.h"

#include <algorithm>
#include <cmath>

#include "Noise.h"
#include "Palette.h"

namespace picgen {
namespace {

constexpr float kInkWidth = 0.008f;  // half-width of outlines, head units

// Light from the upper left, in front; the rim light comes from the right.
struct Light {
  float diffuse = 0.0f;
  float rim = 0.0f;
  float specular = 0.0f;
};

// Lights a shape as if it bulged out of the picture: at its edge the
// surface faces sideways along the outline's normal, `roundness` units
// inside it faces the viewer.
Light lightShape(Vec2 outward, float depth, float roundness) {
  float s = clamp01(1.0f - depth / roundness);
  float nx = outward.x * s;
  float ny = outward.y * s;
  float nz = fsqrt(std::max(0.0f, 1.0f - s * s));
  const float lx = -0.50f, ly = -0.58f, lz = 0.643f;
  float ndl = nx * lx + ny * ly + nz * lz;
  Light l;
  l.diffuse = clamp01((ndl + 0.3f) / 1.3f);
  l.rim = s * s * s * std::max(0.0f, outward.x * 0.92f - outward.y * 0.38f);
  // Half vector of the light and a viewer straight in front.
  float hx = lx, hy = ly, hz = lz + 1.0f;
  float hl = fsqrt(hx * hx + hy * hy + hz * hz);
  float ndh = std::max(0.0f, (nx * hx + ny * hy + nz * hz) / hl);
  l.specular = fpow(ndh, 28.0f);
  return l;
}

template <class F>
Vec2 outwardOf(const F& f, Vec2 p, float eps) {
  float gx = f(Vec2(p.x + eps, p.y)) - f(Vec2(p.x - eps, p.y));
  float gy = f(Vec2(p.x, p.y + eps)) - f(Vec2(p.x, p.y - eps));
  float len = fsqrt(gx * gx + gy * gy);
  return len > 1e-9f ? Vec2(gx / len, gy / len) : Vec2(0.0f, 0.0f);
}

float lineOf(float d, float pixel, float halfWidth = kInkWidth) {
  return clamp01(0.5f - (std::fabs(d) - halfWidth) / pixel);
}

Rgba rgbMul(const Rgba& c, const Rgba& k) { return Rgba(c.r * k.r, c.g * k.g, c.b * k.b, c.a); }

// Skin in shadow turns cooler and redder, as it does under a warm key light.
Rgba litSkin(const Rgba& albedo, const Light& l, const Rgba& rim) {
  Rgba shadowTint(0.42f, 0.30f, 0.42f);
  Rgba lightTint(1.08f, 1.02f, 0.96f);
  Rgba tint = mix(shadowTint, lightTint, l.diffuse);
  Rgba c = rgbMul(albedo, tint);
  c = c + rim.rgbScaled(0.85f * l.rim) + Rgba(1, 1, 1, 0) * (0.10f * l.specular);
  c.a = 1.0f;
  return c;
}

}  // namespace

PortraitPainter::PortraitPainter(const Person& person) : bust_(person) {}

Rgba PortraitPainter::shadeHair(Vec2 h, float d, Vec2 outward) const {
  const Person& p = bust_.person();
  Noise noise(p.seed);
  Light l = lightShape(outward, -d, 0.45f);
  float strands;
  float shine = 0.0f;
  Vec2 crown(0.0f, -0.30f);
  Vec2 rel = h - crown;
  float r = rel.length();
  float a = fatan2(rel.y, rel.x);
  if (p.hairStyle == Person::Hair::Curls) {
    // Coils: a jittered grid of small domes, each lit from the upper left.
    const float cell = 0.095f;
    float gx = h.x / cell, gy = h.y / cell;
    int cx = int(std::floor(gx)), cy = int(std::floor(gy));
    float best = 1e9f;
    Vec2 bestOffset;
    for (int j = -1; j <= 1; ++j)
      for (int i = -1; i <= 1; ++i) {
        uint32_t ux = uint32_t(cx + i), uy = uint32_t(cy + j);
        Vec2 centre(float(cx + i) + hashUnit(ux, uy, p.seed), float(cy + j) + hashUnit(uy, ux, p.seed + 1u));
        Vec2 off(gx - centre.x, gy - centre.y);
        float d2 = off.dot(off);
        if (d2 < best) best = d2, bestOffset = off;
      }
    float dome = clamp01(1.0f - fsqrt(best) / 0.8f);
    float lit = clamp01(0.5f - 0.7f * (bestOffset.x + bestOffset.y) * 0.7f);
    strands = clamp01(dome * (0.4f + 0.8f * lit));
    shine = smoothstep(0.6f, 0.95f, dome * lit * 1.3f) * smoothstep(0.4f, -0.6f, h.y);
  } else {
    float n;
    if (p.hairStyle == Person::Hair::Long && h.y > -0.1f) {
      // Falling strands: mostly vertical, swaying with the waves.
      n = noise.fbm(h.x * 15.0f + 0.9f * fsin(4.0f * h.y), h.y * 1.6f, 3);
    } else {
      n = noise.fbm(a * 9.0f, r * 3.0f, 3);
    }
    strands = clamp01(0.5f + 0.7f * n);
    float band = (r - 0.66f) / 0.10f;
    shine = fexp(-band * band) * smoothstep(0.2f, -0.5f, h.y) * (0.4f + 0.6f * strands);
  }
  Rgba albedo = p.hair.rgbScaled(0.55f + 0.9f * strands);
  Rgba c = albedo.rgbScaled(0.30f + 0.95f * l.diffuse);
  c = c + p.hairShine.rgbScaled(0.65f * shine * (0.3f + 0.7f * l.diffuse));
  c = c + p.rim.rgbScaled(0.9f * l.rim);
  c.a = 1.0f;
  return c;
}

Rgba PortraitPainter::shadeSkin(Vec2 h, float pixel, float* ink) const {
  const Bust& b = bust_;
  const Person& p = b.person();
  float eps = 0.01f;
  Vec2 outward = outwardOf([&](Vec2 v) { return b.head(v); }, h, eps);
  float dHead = b.head(h);
  Light l = lightShape(outward, -dHead, 0.62f);

  // Albedo: skin with blush, sockets and the soft shading of the nose.
  Rgba albedo = p.skin;
  for (float side : {-1.0f, 1.0f}) {
    Vec2 cheek = h - Vec2(side * 0.36f, 0.34f);
    float blush = fexp(-(cheek.dot(cheek)) / (0.13f * 0.13f));
    albedo = mix(albedo, p.lips, 0.22f * blush);
    Vec2 e = b.eyeLocal(h, side);
    float sx = e.x / 0.21f, sy = (e.y + 0.02f) / 0.13f;
    float socket = fexp(-(sx * sx + sy * sy));
    albedo = albedo.rgbScaled(1.0f - 0.14f * socket);
  }
  float bridge = segmentDistance(h, Vec2(0.07f, -0.02f), Vec2(0.085f, 0.33f)) / 0.045f;
  albedo = albedo.rgbScaled(1.0f - 0.16f * fexp(-bridge * bridge));
  Vec2 under = h - Vec2(0.0f, 0.45f);
  float underNose = (under.x * under.x) / (0.09f * 0.09f) + (under.y * under.y) / (0.025f * 0.025f);
  albedo = albedo.rgbScaled(1.0f - 0.18f * fexp(-underNose));
  Vec2 chin = h - Vec2(0.0f, 0.70f);
  float chinShadow = (chin.x * chin.x) / (0.09f * 0.09f) + (chin.y * chin.y) / (0.03f * 0.03f);
  albedo = albedo.rgbScaled(1.0f - 0.14f * fexp(-chinShadow));
  // The fringe casts a soft shadow on the forehead.
  float dFringe = b.hairFront(h);
  if (dFringe > 0.0f) albedo = albedo.rgbScaled(1.0f - 0.38f * smoothstep(0.10f, 0.0f, dFringe));

  Rgba c = litSkin(albedo, l, p.rim);
  Vec2 tip = h - Vec2(0.0f, 0.33f);
  float tipGlow = fexp(-(tip.dot(tip)) / (0.045f * 0.045f));
  c = c + Rgba(1, 1, 1, 0) * (0.10f * tipGlow * l.diffuse);
  float featureLight = 0.55f + 0.45f * l.diffuse;

  auto layFeature = [&](float d, const Rgba& colour, float inkAmount) {
    float cov = coverage(d, pixel);
    if (cov > 0.0f) c = mix(c, colour, cov);
    *ink = std::max(*ink * (1.0f - cov), inkAmount * lineOf(d, pixel));
  };
  auto fillInk = [&](float d, float amount) { *ink = std::max(*ink, amount * coverage(d, pixel)); };

  Rgba browColour = p.hair.rgbScaled(0.55f * featureLight);
  for (float side : {-1.0f, 1.0f}) {
    float dBrow = b.brow(h, side);
    float cov = coverage(dBrow, pixel);
    c = mix(c, browColour, 0.92f * cov);
    fillInk(dBrow, 0.9f);

    Vec2 e = b.eyeLocal(h, side);
    float crease = b.crease(e) - 0.0045f;
    c = mix(c, c.rgbScaled(0.72f), coverage(crease, pixel) * 0.8f);
    fillInk(crease, 0.35f);

    float opening = b.eyeOpening(e);
    if (opening < pixel) {
      // Sclera, shadowed by the upper lid; then iris, pupil and highlight.
      float lidShade = smoothstep(-0.06f, 0.02f, -e.y);
      Rgba eye = Rgba(0.93f, 0.92f, 0.90f).rgbScaled(featureLight * (1.0f - 0.35f * lidShade));
      Vec2 ic = b.irisCentre(side);
      float ri = b.irisRadius();
      float dIris = sdCircle(h, ic, ri);
      float rr = clamp01((h - ic).length() / ri);
      Rgba iris = mix(p.iris.rgbScaled(1.35f), p.iris.rgbScaled(0.45f), rr * rr);
      iris = iris.rgbScaled(featureLight * (1.0f - 0.3f * lidShade));
      eye = mix(eye, iris, coverage(dIris, pixel));
      float dPupil = sdCircle(h, ic, ri * 0.45f);
      eye = mix(eye, Rgba(0.03f, 0.03f, 0.04f), coverage(dPupil, pixel));
      float dGlint = sdCircle(h, ic + Vec2(-0.32f * ri, -0.38f * ri), ri * 0.26f);
      eye = mix(eye, Rgba(1, 1, 1), coverage(dGlint, pixel));
      float cov = coverage(opening, pixel);
      c = mix(c, eye, cov);
      *ink = std::max(*ink, cov * (0.55f * lineOf(dIris, pixel) + coverage(dPupil, pixel)));
    }
    *ink = std::max(*ink, 0.6f * lineOf(opening, pixel, 0.5f * kInkWidth));
    // Lashes along the upper lid, thicker towards the outer corner, and a flick.
    float lashWidth = 0.007f + 0.009f * clamp01(e.x / b.irisRadius() * 0.35f + 0.5f);
    float lid = std::min(b.upperLid(e) - lashWidth,
                         segmentDistance(e, Vec2(0.14f * p.eyeSize, -0.012f),
                                         Vec2(0.19f * p.eyeSize, -0.045f)) - 0.006f);
    lid = std::max(lid, e.y - 0.01f);
    c = mix(c, p.hair.rgbScaled(0.3f), coverage(lid, pixel));
    fillInk(lid, 1.0f);
  }

  float dNostrils = b.nostrils(h);
  c = mix(c, rgbMul(p.skin, Rgba(0.35f, 0.2f, 0.2f)), 0.85f * coverage(dNostrils, pixel));
  fillInk(dNostrils, 0.8f);
  float dNose = b.noseLine(h);
  c = mix(c, c.rgbScaled(0.7f), coverage(dNose, pixel));
  fillInk(dNose, 0.6f);

  Rgba lipLit = p.lips.rgbScaled(0.75f + 0.45f * l.diffuse);
  float dUpper = b.upperLip(h);
  layFeature(dUpper, lipLit.rgbScaled(0.82f), 0.7f);
  float dLower = b.lowerLip(h);
  Vec2 gloss = h - Vec2(0.025f, 0.618f);
  float glossAmount = fexp(-(gloss.x * gloss.x) / (0.05f * 0.05f) - (gloss.y * gloss.y) / (0.012f * 0.012f));
  layFeature(dLower, lipLit + Rgba(1, 1, 1, 0) * (0.22f * glossAmount), 0.7f);
  float dMouth = b.mouthLine(h);
  c = mix(c, rgbMul(p.lips, Rgba(0.3f, 0.18f, 0.18f)), coverage(dMouth, pixel));
  fillInk(dMouth, 1.0f);
  c.a = 1.0f;
  return c;
}

PortraitPainter::Sample PortraitPainter::shade(Vec2 q, float pixel) const {
  const Bust& b = bust_;
  const Person& p = b.person();
  Noise noise(p.seed + 77u);
  Vec2 h = b.toHead(q);
  Sample s;
  float eps = 0.01f;

  auto lay = [&](float d, const Rgba& colour, float inkAmount) {
    float cov = coverage(d, pixel);
    if (cov <= 0.0f) return;
    s.colour = over(colour.premultiplied(cov), s.colour);
    s.ink = std::max(s.ink * (1.0f - cov), inkAmount * lineOf(d, pixel));
  };

  float dTorso = b.torso(q);
  if (dTorso < pixel) {
    Vec2 out = outwardOf([&](Vec2 v) { return b.torso(v); }, q, eps);
    Light l = lightShape(out, -dTorso, 0.9f);
    float weave = noise.fbm(q.x * 30.0f, q.y * 30.0f, 2);
    float folds = noise.fbm(q.x * 3.0f, q.y * 2.0f, 3);
    Rgba c = p.cloth.rgbScaled((0.9f + 0.08f * weave + 0.25f * folds) * (0.35f + 0.85f * l.diffuse));
    c = c + p.rim.rgbScaled(0.8f * l.rim);
    float dCollar = b.collar(q);
    Rgba trim = p.clothTrim.rgbScaled(0.35f + 0.75f * l.diffuse);
    c = mix(c, trim, coverage(dCollar, pixel));
    c.a = 1.0f;
    lay(dTorso, c, 1.0f);
    s.ink = std::max(s.ink, 0.7f * lineOf(dCollar, pixel) * coverage(dTorso, pixel));
  }

  float dBack = b.hairBack(h);
  if (dBack < pixel) {
    Vec2 out = outwardOf([&](Vec2 v) { return b.hairBack(v); }, h, eps);
    lay(dBack, shadeHair(h, dBack, out), 1.0f);
  }

  float dHead = b.head(h);
  float dNeck = b.neck(q);
  if (dNeck < pixel) {
    Vec2 out = outwardOf([&](Vec2 v) { return b.neck(v); }, q, eps);
    Light l = lightShape(out, -dNeck, 0.25f);
    Rgba albedo = p.skin;
    // The jaw shades the neck just below it.
    albedo = albedo.rgbScaled(1.0f - 0.55f * smoothstep(0.22f, 0.0f, dHead));
    lay(dNeck, litSkin(albedo, l, p.rim), 1.0f);
  }

  float dEars = b.ears(h);
  if (dEars < pixel) {
    Vec2 out = outwardOf([&](Vec2 v) { return b.ears(v); }, h, eps);
    Light l = lightShape(out, -dEars, 0.08f);
    float x = 0.70f * p.headWidth;
    float inner = std::min(sdEllipse(h, Vec2(-x, 0.13f), 0.055f, 0.12f),
                           sdEllipse(h, Vec2(x, 0.13f), 0.055f, 0.12f));
    Rgba albedo = mix(p.skin, rgbMul(p.skin, Rgba(0.7f, 0.5f, 0.5f)), coverage(inner, 0.04f));
    lay(dEars, litSkin(albedo, l, p.rim), 1.0f);
  }

  if (dHead < pixel) {
    float featureInk = 0.0f;
    Rgba skin = shadeSkin(h, pixel, &featureInk);
    lay(dHead, skin, 1.0f);
    s.ink = std::max(s.ink, featureInk * coverage(dHead, pixel));
  }

  float dBeard = b.beard(h);
  if (dBeard < pixel) {
    Vec2 out = outwardOf([&](Vec2 v) { return b.head(v); }, h, eps);
    Light l = lightShape(out, -dHead, 0.62f);
    float n = noise.fbm(h.x * 40.0f, h.y * 25.0f, 2);
    Rgba c = p.hair.rgbScaled((0.75f + 0.5f * n) * (0.35f + 0.85f * l.diffuse));
    c = c + p.rim.rgbScaled(0.7f * l.rim);
    c.a = 1.0f;
    // A soft edge: beards thin out rather than end.
    float cov = clamp01(0.5f - dBeard / 0.02f) * 0.92f;
    s.colour = over(c.premultiplied(cov), s.colour);
    s.ink = std::max(s.ink * (1.0f - cov), 0.5f * lineOf(dBeard, pixel));
  }

  float dFront = b.hairFront(h);
  if (dFront < pixel) {
    Vec2 out = outwardOf([&](Vec2 v) { return b.hairFront(v); }, h, eps);
    lay(dFront, shadeHair(h, dFront, out), 1.0f);
    // Engraved strand lines inside the hair, for the line drawing.
    float n = noise.fbm(fatan2(h.y + 0.3f, h.x) * 9.0f, (h - Vec2(0, -0.3f)).length() * 3.0f, 2);
    s.ink = std::max(s.ink, 0.35f * (1.0f - smoothstep(0.0f, 0.05f, std::fabs(n))) *
                                coverage(dFront, pixel));
  }

  float dLens = b.glassesLens(h);
  if (dLens < pixel) {
    // Tinted glass with a diagonal reflection.
    float streak = fsin((h.x + h.y) * 18.0f);
    Rgba glass(0.55f, 0.75f, 0.95f, 0.14f + 0.16f * smoothstep(0.6f, 1.0f, streak));
    lay(dLens, glass, 0.0f);
  }
  float dFrame = b.glassesFrame(h);
  if (dFrame < pixel) {
    Vec2 out = outwardOf([&](Vec2 v) { return b.glassesFrame(v); }, h, eps);
    Light l = lightShape(out, -dFrame, 0.02f);
    Rgba c = Rgba(0.08f, 0.07f, 0.07f) + p.rim.rgbScaled(0.9f * l.rim) +
             Rgba(1, 1, 1, 0) * (0.5f * l.specular);
    c.a = 1.0f;
    lay(dFrame, c, 1.0f);
    s.ink = std::max(s.ink, coverage(dFrame, pixel));
  }
  float dPhones = b.headphones(h);
  if (dPhones < pixel) {
    Vec2 out = outwardOf([&](Vec2 v) { return b.headphones(v); }, h, eps);
    Light l = lightShape(out, -dPhones, 0.12f);
    Rgba c = Rgba(0.10f, 0.11f, 0.13f).rgbScaled(0.4f + 1.2f * l.diffuse) +
             p.rim.rgbScaled(0.9f * l.rim) + Rgba(1, 1, 1, 0) * (0.35f * l.specular);
    float ring = std::min(std::fabs(sdBox(h, Vec2(-1.03f, 0.1f), Vec2(0.09f, 0.20f), 0.08f)),
                          std::fabs(sdBox(h, Vec2(1.03f, 0.1f), Vec2(0.09f, 0.20f), 0.08f))) - 0.015f;
    c = mix(c, p.clothTrim.rgbScaled(0.5f + 0.6f * l.diffuse), coverage(ring, pixel));
    c.a = 1.0f;
    lay(dPhones, c, 1.0f);
    s.ink = std::max(s.ink, 0.8f * lineOf(ring, pixel));
  }
  float dRings = b.earrings(h);
  if (dRings < pixel) {
    Vec2 out = outwardOf([&](Vec2 v) { return b.earrings(v); }, h, eps);
    Light l = lightShape(out, -dRings, 0.012f);
    Rgba c = palette::kGold.rgbScaled(0.5f + 0.7f * l.diffuse) + Rgba(1, 1, 1, 0) * (0.6f * l.specular);
    c.a = 1.0f;
    lay(dRings, c, 1.0f);
  }
  return s;
}

PortraitLayers PortraitPainter::paint(const PortraitFrame& frame) const {
  PortraitLayers layers{Picture(frame.width, frame.height), Plane(frame.width, frame.height)};
  float unitsPerPixelY = 1.0f / frame.scale;
  float unitsPerPixelX = 1.0f / (frame.scale * frame.squeeze);
  float pixel = std::max(unitsPerPixelX, unitsPerPixelY);
  for (int y = 0; y < frame.height; ++y)
    for (int x = 0; x < frame.width; ++x) {
      Vec2 q((float(x) + 0.5f - frame.centreX) * unitsPerPixelX,
             (float(y) + 0.5f - frame.centreY) * unitsPerPixelY);
      Sample s = shade(q, pixel);
      layers.colour.at(x, y) = s.colour;
      layers.ink.at(x, y) = s.ink;
    }
  return layers;
}

}  // namespace picgen
