#include "Starfield.h"

#include <algorithm>
#include <cmath>

#include "MathF.h"
#include "Noise.h"
#include "Palette.h"

namespace picgen {

void addStars(Picture& picture, const StarfieldStyle& style) {
  const int w = picture.width();
  const int h = picture.height();
  const float cellW = float(w) / float(style.cellsX);
  const float cellH = float(h) / float(style.cellsY);
  for (int cy = 0; cy < style.cellsY; ++cy)
    for (int cx = 0; cx < style.cellsX; ++cx) {
      uint32_t ux = uint32_t(cx), uy = uint32_t(cy);
      if (hashUnit(ux, uy, style.seed) >= style.density) continue;
      float sx = (float(cx) + hashUnit(ux, uy, style.seed + 1u)) * cellW;
      float sy = (float(cy) + hashUnit(ux, uy, style.seed + 2u)) * cellH;
      // Most stars are faint; a few are bright.
      float b = fpow(hashUnit(ux, uy, style.seed + 3u), 5.0f);
      float level = style.brightness * (0.12f + 0.88f * b);
      float radius = 0.55f + 1.5f * b;
      float hue = hashUnit(ux, uy, style.seed + 4u);
      Rgba colour = hue < 0.6f ? mix(palette::kFrost, palette::kIce, hue / 0.6f)
                               : mix(palette::kFrost, palette::kGold, (hue - 0.6f) / 0.4f);
      float glint = style.glints * smoothstep(0.35f, 0.9f, b);
      int reach = int(radius * 3.0f + (glint > 0.0f ? 12.0f : 1.0f));
      for (int dy = -reach; dy <= reach; ++dy)
        for (int dx = -reach; dx <= reach; ++dx) {
          int px = int(std::floor(sx)) + dx;
          int py = int(std::floor(sy)) + dy;
          float fx = (float(px) + 0.5f - sx) * style.squeeze;
          float fy = float(py) + 0.5f - sy;
          float d2 = (fx * fx + fy * fy) / (radius * radius);
          float light = fexp(-d2 * 1.6f);
          if (glint > 0.0f) {
            float ax = std::fabs(fx), ay = std::fabs(fy);
            light += glint * (fexp(-ay * 1.8f) * fexp(-ax / (4.0f * radius)) +
                              fexp(-ax * 1.8f) * fexp(-ay / (4.0f * radius))) * 0.5f;
          }
          if (light < 0.002f) continue;
          int wx = ((px % w) + w) % w;
          int wy = ((py % h) + h) % h;
          Rgba& d = picture.at(wx, wy);
          d.r += colour.r * level * light;
          d.g += colour.g * level * light;
          d.b += colour.b * level * light;
        }
    }
}

}  // namespace picgen
