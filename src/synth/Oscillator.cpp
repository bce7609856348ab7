#include "synth/Oscillator.h"

#include <cmath>
#include <cstring>

#include "base/SampleRate.h"
#include "synth/FloatToInt.h"
#include "synth/Sine.h"
#include "synth/SynthScratch.h"

namespace {

constexpr float kPi = 3.14159265358979323846f;
constexpr float kMaxIncrement = 0.49f;

// Pitch: note 0 (before the offset of two) is 27.5 Hz, the A four octaves
// below 440 Hz, and each note a twelfth of an octave above the one before.
constexpr float kOctavesPerNote = 1.0f / 12.0f;
constexpr float kLowestAIncrement = float(27.5 / kSampleRate);  // cycles per sample

// A working value moving linearly across the block.
struct Ramp {
  float value;
  float step;
  Ramp(float start, float end, int n) : value(start), step((end - start) / float(n)) {}
  void advance() { value += step; }
};

// The triangle with its peak at t. A width held at or beyond the ends keeps
// to the branch that stays finite (t = 1 and y = 1 would give 0 / 0).
float triangleShape(float y, float t) {
  const bool rising = t >= 1.0f ? true : t <= 0.0f ? false : y < t;
  if (rising) return 2.0f * y / t - 1.0f;
  return 2.0f * (1.0f - y) / (1.0f - t) - 1.0f;
}

// triangleShape of four samples at once, lane by lane the same operations.
typedef float Lanes __attribute__((vector_size(16)));
inline Lanes triangleShapeLanes(Lanes y, Lanes t) {
  const auto rising = (t >= 1.0f) | (~(t <= 0.0f) & (y < t));
  const Lanes numerator = rising ? 2.0f * y : 2.0f * (1.0f - y);
  const Lanes denominator = rising ? t : 1.0f - t;
  return numerator / denominator - 1.0f;
}

void triangleShapes(const float* y, const float* t, float* out, int n) {
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    Lanes yv, tv;
    std::memcpy(&yv, y + i, sizeof yv);
    std::memcpy(&tv, t + i, sizeof tv);
    const Lanes shape = triangleShapeLanes(yv, tv);
    std::memcpy(out + i, &shape, sizeof shape);
  }
  if (i < n) {
    float yr[4] = {}, tr[4] = {}, outr[4];
    std::memcpy(yr, y + i, sizeof(float) * size_t(n - i));
    std::memcpy(tr, t + i, sizeof(float) * size_t(n - i));
    triangleShapes(yr, tr, outr, 4);
    std::memcpy(out + i, outr, sizeof(float) * size_t(n - i));
  }
}

}  // namespace

void Oscillator::event(int kind, uint32_t value) {
  if (kind != eventKind::kNoteOn) return;
  const int note = int(((value & 0xFFFF) + 2) & 0xFFFF) + transpose;
  const float exponent = float(note) * kOctavesPerNote;
  targetIncrement = float(std::pow(2.0, double(exponent))) * kLowestAIncrement;
}

float Oscillator::randomStep(int32_t& state) {
  // Not the minimal standard generator: the second product is added, and the
  // periodic noise's waveforms follow this very sequence.
  const uint32_t product =
      16807u * uint32_t(state % 127773) + 2836u * uint32_t(state / 127773);
  state = int32_t(product);
  if (state < 0) state = int32_t(uint32_t(state) + 2147483647u);
  return float(state) * 9.31322574615478515625e-10f - 1.0f;
}

float Oscillator::nextRandom() { return randomStep(seed); }

void Oscillator::render(int n, float* destination, const ModulatorList& modulators,
                        bool hasPrevious, SynthScratch& scratch) {
  pwStart_ = pwEnd_ = pulseWidth;
  fmStart_ = fmEnd_ = fmAmount;

  const float c = glide;
  const float T = targetIncrement;
  const float scale = (1.0f + detune) * float(multiplier);
  const float e = c * glideState + (1.0f - c) * T;
  freqStart_ = scale * e;
  glideState = c * e + (1.0f - c) * T;
  freqEnd_ = scale * glideState;

  float now[kRoutes], end[kRoutes];
  for (int k = 0; k < kRoutes; ++k) {
    const Modulator* source = routes[k].find(modulators);
    if (source && routes[k].depth != 0.0f) {
      now[k] = routes[k].depth * (source->current * source->current);
      end[k] = routes[k].depth * (source->next * source->next);
    } else {
      now[k] = end[k] = 0.0f;
    }
  }
  pwStart_ += now[0] + now[1];
  pwEnd_ += end[0] + end[1];
  freqStart_ *= 1.0f + now[2] + now[3];
  freqEnd_ *= 1.0f + end[2] + end[3];
  fmStart_ += now[4] + now[5];
  fmEnd_ += end[4] + end[5];

  if (freqStart_ >= kMaxIncrement) freqStart_ = kMaxIncrement;
  if (freqEnd_ >= kMaxIncrement) freqEnd_ = kMaxIncrement;
  if (pwStart_ > 1.0f) pwStart_ = 1.0f;
  if (pwEnd_ > 1.0f) pwEnd_ = 1.0f;

  float* work = scratch.oscWork.data();
  float* wrap = scratch.wrapBuffer.data();
  if (n > int(scratch.oscWork.size())) n = int(scratch.oscWork.size());
  const bool fmPath = hasPrevious && (fmStart_ != 0.0f || fmEnd_ != 0.0f || sync);

  switch (waveform) {
    case kSine:
      triangle(n, fmPath, work, wrap);
      for (int i = 0; i < n; ++i) work[i] = work[i] * kPi / 2.0f;
      roundedSines(work, work, n);
      break;
    case kPulse:
      pulse(n, fmPath, work, wrap);
      break;
    case kAdditive: {
      const float s = pwStart_;
      pwStart_ = pwEnd_ = 0.5f;
      triangle(n, fmPath, work, wrap);
      additive(n, s * 15.0f * kPi, work);
      break;
    }
    case kTriangle:
      triangle(n, fmPath, work, wrap);
      break;
    case kSampleHold:
      sampleHold(n, work, scratch);
      break;
    case kPeriodicNoise:
      periodicNoise(n, fmPath, work, wrap);
      break;
    default:
      break;  // the work buffer keeps what the previous generator wrote
  }
  if (n > 0) std::memcpy(destination, work, sizeof(float) * size_t(n));
}

namespace {

// The phase and the phase before it, kept in registers while a generator
// runs.
struct Walk {
  float phase;
  float prevPhase;
  float stepModulated(float x, float increment, float depth, bool sync, float& wrapped);
  float checkWrap();
};

// The FM path's phase step, before the sample is read: the phase moves by
// the modulated increment (returned) and wraps either way, or follows the
// previous oscillator's wrap when synced. `wrapped` is this sample's wrap slot.
float Walk::stepModulated(float x, float increment, float depth, bool sync,
                                      float& wrapped) {
  prevPhase = phase;
  const float h = (depth * x + 1.0f) * increment;
  phase += h;
  if (phase > 1.0f) {
    phase -= 1.0f;
    wrapped = phase;
  } else if (phase < 0.0f) {
    phase += 1.0f;
    wrapped = phase;
  } else if (wrapped >= 0.0f && sync) {
    phase = wrapped;
  } else {
    wrapped = -1.0f;
  }
  return h;
}

// The plain path's wrap check at the start of a sample; the phase moves after
// the sample.
float Walk::checkWrap() {
  if (phase > 1.0f) {
    phase -= 1.0f;
    return phase;
  }
  return -1.0f;
}

// The pulse at phase o after m with width w, corners corrected.
inline float pulseValue(float o, float m, float w, bool fmPath) {
  if (m < w && o > w) return (o + m - 2.0f * w) / (o - m);
  if (m > o && m > w && o <= w) return (1.0f - o - m) / (1.0f - m + o);
  if (m > o && m > w && o > w) return fmPath ? 1.0f - w / (1.0f - m + o) : (o - w) + (1.0f - m) - w;
  return o > w ? 1.0f : -1.0f;
}

// The triangle with a corner between A and B corrected; fmPath allows the
// case that only frequency modulation produces.
inline float triangleValue(float o, float A, float B, float w, bool fmPath) {
  if (A > w && B > w && B > A)
    return (w + (B - 1.0f) + triangleShape(A, w) * (A - w)) / (A + 1.0f - B);
  if (B > A && B < w) return ((w - B) + (w - 1.0f) + A * triangleShape(A, w)) / (A + 1.0f - B);
  if (fmPath && A > w && B < w) return ((w - B) + triangleShape(A, w) * (A - w)) / (A - B);
  if (B > w && A < w) return (A * triangleShape(A, w) + B - 1.0f) / (A + 1.0f - B);
  return triangleShape(o, w);
}

// The plain path in stretches: first the phase walk, which is serial, keeping
// each sample's phase and width and the few samples that need a corner
// correction; then the values of the uncorrected shape for the whole stretch,
// which the compiler does several at a time; then the corrections.
constexpr int kStretch = 256;

struct Stretch {
  float phase[kStretch];
  float width[kStretch];
  struct Corner {
    int at;
    float prevPhase;
  } corners[kStretch];
  int cornerCount = 0;
};

// The plain path's serial walk over a stretch of count samples. The pulse
// steps the phase by the frequency before the frequency steps, the triangle
// after.
template <bool StepFrequencyFirst, typename IsCorner>
void walkStretch(Walk& walk, Ramp& t, Ramp& f, float* wrap, int count, Stretch& s,
                 IsCorner isCorner) {
  s.cornerCount = 0;
  for (int i = 0; i < count; ++i) {
    wrap[i] = walk.checkWrap();
    const float o = walk.phase, m = walk.prevPhase, w = t.value;
    s.phase[i] = o;
    s.width[i] = w;
    if (isCorner(o, m, w)) s.corners[s.cornerCount++] = {i, m};
    walk.prevPhase = o;
    if (StepFrequencyFirst) f.advance();
    walk.phase = o + f.value;
    if (!StepFrequencyFirst) f.advance();
    t.advance();
  }
}

// A corner-corrected generator over n samples, from phase and prevPhase on.
// On the FM path sample by sample: value(o, m, h, w) is the sample after the
// phase stepped by h from m to o, with width w. On the plain path in
// stretches: shapes(s, out, count) writes a stretch's uncorrected values, then
// corner(o, m, w) replaces those of the samples isCorner picked out.
template <bool StepFrequencyFirst, typename ModulatedValue, typename IsCorner, typename Shapes,
          typename Corner>
void generate(float& phase, float& prevPhase, const float (&ramps)[6], bool sync, bool fmPath,
              int n, float* work, float* wrap, ModulatedValue value, IsCorner isCorner,
              Shapes shapes, Corner corner) {
  Ramp t(ramps[0], ramps[1], n), f(ramps[2], ramps[3], n), d(ramps[4], ramps[5], n);
  Walk walk{phase, prevPhase};
  if (fmPath) {
    for (int i = 0; i < n; ++i) {
      const float h = walk.stepModulated(work[i], f.value, d.value, sync, wrap[i]);
      work[i] = value(walk.phase, walk.prevPhase, h, t.value);
      t.advance();
      f.advance();
      d.advance();
    }
  } else {
    Stretch s;
    for (int at = 0; at < n; at += kStretch) {
      const int count = n - at < kStretch ? n - at : kStretch;
      walkStretch<StepFrequencyFirst>(walk, t, f, wrap + at, count, s, isCorner);
      float* out = work + at;
      shapes(s, out, count);
      for (int c = 0; c < s.cornerCount; ++c) {
        const int i = s.corners[c].at;
        out[i] = corner(s.phase[i], s.corners[c].prevPhase, s.width[i]);
      }
    }
  }
  phase = walk.phase;
  prevPhase = walk.prevPhase;
}

}  // namespace

void Oscillator::pulse(int n, bool fmPath, float* work, float* wrap) {
  // The plain path's pulse is less its mean, 1 - 2t.
  generate<false>(
      phase, prevPhase, {pwStart_, pwEnd_, freqStart_, freqEnd_, fmStart_, fmEnd_}, sync, fmPath,
      n, work, wrap,
      [](float o, float m, float, float w) { return pulseValue(o, m, w, true); },
      [](float o, float m, float w) { return (m < w && o > w) || m > o; },
      [](const Stretch& s, float* out, int count) {
        for (int i = 0; i < count; ++i)
          out[i] = (s.phase[i] > s.width[i] ? 1.0f : -1.0f) - (1.0f - 2.0f * s.width[i]);
      },
      [](float o, float m, float w) { return pulseValue(o, m, w, false) - (1.0f - 2.0f * w); });
}

void Oscillator::triangle(int n, bool fmPath, float* work, float* wrap) {
  generate<true>(
      phase, prevPhase, {pwStart_, pwEnd_, freqStart_, freqEnd_, fmStart_, fmEnd_}, sync, fmPath,
      n, work, wrap,
      [](float o, float m, float h, float w) {
        return h >= 0.0f ? triangleValue(o, o, m, w, true) : triangleValue(o, m, o, w, true);
      },
      [](float o, float m, float) { return m > o; },
      [](const Stretch& s, float* out, int count) { triangleShapes(s.phase, s.width, out, count); },
      [](float o, float m, float w) { return triangleValue(o, o, m, w, false); });
}

void Oscillator::periodicNoise(int n, bool fmPath, float* work, float* wrap) {
  Ramp t(pwStart_, pwEnd_, n), f(freqStart_, freqEnd_, n), d(fmStart_, fmEnd_, n);
  Walk walk{phase, prevPhase};
  int32_t state = seed;
  for (int i = 0; i < n; ++i) {
    bool reseed = false;
    if (fmPath) {
      const float x = work[i];
      walk.prevPhase = walk.phase;
      walk.phase += (d.value * x + 1.0f) * f.value;
      if (walk.phase > 1.0f) {
        walk.phase -= 1.0f;
        wrap[i] = walk.phase;
        reseed = true;
      } else if (wrap[i] >= 0.0f) {
        // The previous oscillator wrapped: follow it, sync or not.
        walk.phase = wrap[i];
        reseed = true;
      } else {
        wrap[i] = -1.0f;
      }
    } else {
      wrap[i] = walk.checkWrap();
      reseed = wrap[i] >= 0.0f;
    }
    // The same sequence every cycle gives the noise a pitch.
    if (reseed) state = truncateToInt(t.value * 134217728.0f);
    const float value = randomStep(state);
    if (fmPath) {
      work[i] = 2.0f * value;
    } else {
      work[i] = value;
      walk.prevPhase = walk.phase;
      walk.phase += f.value;
    }
    t.advance();
    f.advance();
    d.advance();
  }
  seed = state;
  phase = walk.phase;
  prevPhase = walk.prevPhase;
}

void Oscillator::additive(int n, float P, float* work) {
  // The eight partials' angles of a stretch of samples, then all their sines
  // at once.
  constexpr int kPartials = 8;
  constexpr int kLength = 64;
  float sines[kPartials * kLength];
  for (int at = 0; at < n; at += kLength) {
    const int count = n - at < kLength ? n - at : kLength;
    float* y = work + at;
    for (int k = 1; k <= kPartials; ++k) {
      float* angle = sines + (k - 1) * count;
      for (int i = 0; i < count; ++i)
        angle[i] = ((y[i] + 1.0f) / 2.0f * float(k) - 0.5f) * kPi + P;
    }
    roundedSines(sines, sines, kPartials * count);
    for (int i = 0; i < count; ++i) {
      float sum = 0.0f;
      for (int k = 1; k <= kPartials; ++k) sum += float(10 - k) / 2.0f * sines[(k - 1) * count + i];
      y[i] = sum;
    }
  }
}

void Oscillator::sampleHold(int n, float* work, SynthScratch& scratch) {
  const uint8_t mask = uint8_t(truncateToInt(pwStart_ * 255.0f) & 0xFF);
  uint8_t counter = scratch.noiseCounter;
  float held = scratch.noiseHeld;
  int32_t state = seed;
  for (int i = 0; i < n; ++i) {
    if ((counter & mask) == 0) held = randomStep(state);
    work[i] = held;
    ++counter;
  }
  scratch.noiseCounter = counter;
  scratch.noiseHeld = held;
  seed = state;
}
