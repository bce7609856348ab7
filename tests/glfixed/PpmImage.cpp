#include "PpmImage.h"

#include <cstdio>
#include <cstdlib>

bool readPpm(const std::string& path, PpmImage* image) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  int maxValue = 0;
  const bool header = std::fscanf(file, "P6 %d %d %d", &image->width, &image->height, &maxValue) == 3 &&
                      std::fgetc(file) != EOF && maxValue == 255 && image->width > 0 &&
                      image->height > 0 && image->width <= 8192 && image->height <= 8192;
  bool ok = header;
  if (ok) {
    image->rgb.resize(size_t(image->width) * size_t(image->height) * 3);
    ok = std::fread(image->rgb.data(), 1, image->rgb.size(), file) == image->rgb.size();
  }
  std::fclose(file);
  return ok;
}

PictureDifference comparePictures(const PpmImage& a, const PpmImage& b) {
  PictureDifference d;
  if (a.rgb.size() != b.rgb.size() || a.rgb.empty()) {
    d.mean = d.max = d.p999 = 255;
    d.changed = 1.0;
    return d;
  }
  size_t histogram[256] = {};
  uint64_t sum = 0;
  for (size_t i = 0; i < a.rgb.size(); ++i) {
    const int diff = std::abs(int(a.rgb[i]) - int(b.rgb[i]));
    ++histogram[diff];
    sum += uint64_t(diff);
  }
  const size_t n = a.rgb.size();
  d.mean = double(sum) / double(n);
  d.changed = double(n - histogram[0]) / double(n);
  size_t below = 0;
  bool percentileFound = false;
  for (int v = 0; v < 256; ++v) {
    below += histogram[v];
    if (!percentileFound && double(below) >= 0.999 * double(n)) {
      d.p999 = v;
      percentileFound = true;
    }
    if (histogram[v]) d.max = v;
  }
  return d;
}
