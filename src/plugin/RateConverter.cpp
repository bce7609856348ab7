#include "plugin/RateConverter.h"

#include <algorithm>
#include <cstdio>

#ifdef KYL_HAVE_SAMPLERATE
#include <samplerate.h>
#endif

namespace {

#ifdef KYL_HAVE_SAMPLERATE
// libsamplerate's medium converter needs about 49 input frames beyond the
// position when it raises the rate, and that many output frames' worth when
// it lowers it (measured from 8000 to 192000 Hz). It takes in all the input
// it is given that fits its buffer (its callback interface reads up to two
// blocks ahead), so it is given slices.
constexpr double kSincReach = 50.0;
constexpr long kSlice = 32;
#endif

// Catmull-Rom through four points, at t between the middle two.
inline float cubic(float a, float b, float c, float d, float t) {
  return b + 0.5f * t * (c - a + t * (2.0f * a - 5.0f * b + 4.0f * c - d + t * (3.0f * (b - c) + d - a)));
}

}  // namespace

RateConverter::Kind RateConverter::preferred() {
#ifdef KYL_HAVE_SAMPLERATE
  return Kind::kSinc;
#else
  return Kind::kCubic;
#endif
}

RateConverter::~RateConverter() {
#ifdef KYL_HAVE_SAMPLERATE
  if (state_) src_delete(static_cast<SRC_STATE*>(state_));
#endif
}

bool RateConverter::start(double ratio, Kind kind) {
  ratio_ = ratio;
  kind_ = kind;
#ifdef KYL_HAVE_SAMPLERATE
  if (state_) src_delete(static_cast<SRC_STATE*>(state_));
  state_ = nullptr;
  if (kind == Kind::kSinc) {
    int error = 0;
    state_ = src_new(SRC_SINC_MEDIUM_QUALITY, 2, &error);
    if (!state_) {
      std::fprintf(stderr, "Kylvander Synth: no sample rate converter: %s\n", src_strerror(error));
      return false;
    }
  }
#else
  if (kind == Kind::kSinc) return false;
#endif
  reset();
  return true;
}

void RateConverter::reset() {
#ifdef KYL_HAVE_SAMPLERATE
  if (state_) src_reset(static_cast<SRC_STATE*>(state_));
#endif
  for (auto& frame : window_) frame[0] = frame[1] = 0.0f;
  fraction_ = 0.0;
  primed_ = 0;
  input_ = nullptr;
  inputLeft_ = 0;
}

double RateConverter::lookahead() const {
#ifdef KYL_HAVE_SAMPLERATE
  if (kind_ == Kind::kSinc) return kSincReach * std::max(1.0, 1.0 / ratio_) + double(kSlice) + 2.0;
#endif
  return 3.0;
}

long RateConverter::read(long frames, float* out) {
#ifdef KYL_HAVE_SAMPLERATE
  if (kind_ == Kind::kSinc) return readSinc(frames, out);
#endif
  return readCubic(frames, out);
}

long RateConverter::readSinc(long frames, float* out) {
#ifdef KYL_HAVE_SAMPLERATE
  long produced = 0;
  while (produced < frames && haveInput()) {
    SRC_DATA d{};
    d.data_in = input_;
    d.input_frames = std::min(inputLeft_, kSlice);
    d.data_out = out + 2 * produced;
    d.output_frames = frames - produced;
    d.src_ratio = ratio_;
    if (src_process(static_cast<SRC_STATE*>(state_), &d) != 0) break;
    input_ += 2 * d.input_frames_used;
    inputLeft_ -= d.input_frames_used;
    produced += d.output_frames_gen;
  }
  return produced;
#else
  static_cast<void>(frames);
  static_cast<void>(out);
  return 0;
#endif
}

bool RateConverter::haveInput() {
  if (inputLeft_ > 0) return true;
  float* data = nullptr;
  inputLeft_ = pull_(context_, &data);
  input_ = data;
  if (inputLeft_ > 0 && input_) return true;
  inputLeft_ = 0;
  return false;
}

bool RateConverter::nextInput(float frame[2]) {
  if (!haveInput()) return false;
  frame[0] = input_[0];
  frame[1] = input_[1];
  input_ += 2;
  --inputLeft_;
  return true;
}

long RateConverter::readCubic(long frames, float* out) {
  // Position 0 lies on input frame 0: the window starts as (0, in0, in1, in2).
  for (; primed_ < 3; ++primed_)
    if (!nextInput(window_[primed_ + 1])) return 0;
  const double step = 1.0 / ratio_;
  for (long i = 0; i < frames; ++i) {
    const float t = float(fraction_);
    for (int c = 0; c < 2; ++c)
      out[2 * i + c] = cubic(window_[0][c], window_[1][c], window_[2][c], window_[3][c], t);
    fraction_ += step;
    while (fraction_ >= 1.0) {
      fraction_ -= 1.0;
      for (int k = 0; k < 3; ++k) {
        window_[k][0] = window_[k + 1][0];
        window_[k][1] = window_[k + 1][1];
      }
      if (!nextInput(window_[3])) return i + 1;
    }
  }
  return frames;
}
