// Converts the synthesizer's 44100 Hz stereo stream to a host's rate,
// pulling input blocks through a callback as it needs them, so that output
// frame t is the input at position t / ratio (no delay of its own; it reads
// lookahead() input frames beyond that position).
//
// Where the build has libsamplerate it converts (its medium sinc converter);
// Debian has no libsamplerate for mingw, so the Windows build interpolates
// with a four-point cubic of its own instead (the pitch is exact, the
// highest partials alias).
//
//   RateConverter converter(&pull, context);
//   converter.start(48000.0 / 44100.0);        // allocates
//   converter.read(frames, interleaved);       // allocates nothing
#pragma once

#include <cstdint>

class RateConverter {
 public:
  // Hands over interleaved stereo frames: sets *data, returns their count.
  using Pull = long (*)(void* context, float** data);

  enum class Kind { kSinc, kCubic };
  // The sinc converter where the build has libsamplerate, else the cubic.
  static Kind preferred();

  RateConverter(Pull pull, void* context) : pull_(pull), context_(context) {}
  ~RateConverter();
  RateConverter(const RateConverter&) = delete;
  RateConverter& operator=(const RateConverter&) = delete;

  // ratio: output frames per input frame. False (with the reason on stderr)
  // when no converter can be made.
  bool start(double ratio, Kind kind = preferred());
  // Forgets what it has read: the next input frame is position 0 again.
  void reset();
  // frames interleaved stereo frames into out; returns how many (fewer only
  // when the input ends).
  long read(long frames, float* out);
  double lookahead() const;

 private:
  long readSinc(long frames, float* out);
  long readCubic(long frames, float* out);
  // Pulls the next block when the one being read is used up.
  bool haveInput();
  bool nextInput(float frame[2]);

  Pull pull_;
  void* context_;
  Kind kind_ = Kind::kCubic;
  double ratio_ = 1.0;
  void* state_ = nullptr;  // libsamplerate's
  // The cubic's window of four input frames around the position, and where
  // between the middle two the position lies.
  float window_[4][2] = {};
  double fraction_ = 0.0;
  int primed_ = 0;
  // The block being read.
  const float* input_ = nullptr;
  long inputLeft_ = 0;
};
