// Four single-precision colour components, unclamped until packed into bytes.
// Stored blue, green, red, alpha (the byte order of TGA pixels) but always
// constructed red, green, blue, alpha.
#pragma once

struct Color {
  float blue = 0.0f;
  float green = 0.0f;
  float red = 0.0f;
  float alpha = 0.0f;

  Color() = default;
  constexpr Color(float red, float green, float blue, float alpha)
      : blue(blue), green(green), red(red), alpha(alpha) {}

  Color scale(float s) const { return Color(red * s, green * s, blue * s, alpha * s); }
  Color add(const Color& c) const {
    return Color(red + c.red, green + c.green, blue + c.blue, alpha + c.alpha);
  }
  Color modulate(const Color& c) const {
    return Color(red * c.red, green * c.green, blue * c.blue, alpha * c.alpha);
  }
};
