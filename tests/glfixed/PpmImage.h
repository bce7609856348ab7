// Binary PPM pictures (what the frame tools write) and how far two of them
// are apart.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct PpmImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;
};

// False when the file is missing or not an 8-bit P6 picture.
bool readPpm(const std::string& path, PpmImage* image);

// Per-channel absolute differences of two pictures of one size.
struct PictureDifference {
  double mean = 0.0;     // mean absolute difference, in 8-bit steps
  int p999 = 0;          // 99.9th percentile of the absolute differences
  int max = 0;
  double changed = 0.0;  // share of channels that differ at all
};
PictureDifference comparePictures(const PpmImage& a, const PpmImage& b);
