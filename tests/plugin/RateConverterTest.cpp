// Both rate converters against the rates hosts run at: a tone keeps its
// pitch, and output frame t is the input at t / ratio (no delay of their
// own), with input pulled in blocks of one tick.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "plugin/RateConverter.h"

namespace {

constexpr long kBlock = 1215;

// A 997 Hz sine at 44100 Hz, with a click of 1 at input frame 30000.
struct Source {
  std::vector<float> block = std::vector<float>(kBlock * 2);
  long next = 0;
  static long pull(void* self, float** data) {
    Source& s = *static_cast<Source*>(self);
    for (long i = 0; i < kBlock; ++i, ++s.next) {
      const float v = s.next == 30000 ? 1.0f : float(0.25 * std::sin(2.0 * M_PI * 997.0 * double(s.next) / 44100.0));
      s.block[size_t(2 * i)] = v;
      s.block[size_t(2 * i + 1)] = -v;
    }
    *data = s.block.data();
    return kBlock;
  }
};

TEST(RateConverter, KeepsPitchAndTimeAtEveryRate) {
  for (RateConverter::Kind kind : {RateConverter::Kind::kSinc, RateConverter::Kind::kCubic}) {
    for (double rate : {22050.0, 32000.0, 48000.0, 88200.0, 96000.0}) {
      SCOPED_TRACE(testing::Message() << (kind == RateConverter::Kind::kSinc ? "sinc" : "cubic") << " at "
                                      << rate);
      Source source;
      RateConverter converter(&Source::pull, &source);
      if (!converter.start(rate / 44100.0, kind)) {
        EXPECT_EQ(kind, RateConverter::Kind::kSinc) << "the cubic needs nothing";
        continue;
      }
      const double ratio = rate / 44100.0;
      std::vector<float> out(size_t(rate) * 2);
      for (long done = 0; done < long(rate);) done += converter.read(std::min(300L, long(rate) - done), out.data() + 2 * done);
      EXPECT_LE(double(source.next) - double(rate) / ratio, converter.lookahead() + kBlock)
          << "reads no further than it says";

      // The click, less the tone, at 30000 x ratio.
      double peak = 0.0, at = 0.0;
      const long centre = std::lround(30000 * ratio);
      for (long i = centre - 20; i <= centre + 20; ++i) {
        const double tone = 0.25 * std::sin(2.0 * M_PI * 997.0 * double(i) / rate);
        const double click = double(out[size_t(2 * i)]) - tone;
        if (click > peak) peak = click, at = double(i);
        EXPECT_FLOAT_EQ(out[size_t(2 * i + 1)], -out[size_t(2 * i)]) << "both channels";
      }
      EXPECT_NEAR(at, 30000 * ratio, 1.0);

      // Pitch from rising zero crossings before the click.
      double first = -1.0, last = -1.0;
      int cycles = -1;
      for (size_t i = 1; i < size_t(25000 * ratio); ++i) {
        const float a = out[2 * (i - 1)], b = out[2 * i];
        if (a < 0.0f && b >= 0.0f) {
          const double x = double(i - 1) + double(-a) / double(b - a);
          if (first < 0.0) first = x;
          last = x;
          ++cycles;
        }
      }
      const double pitch = double(cycles) * rate / (last - first);
      EXPECT_LT(std::fabs(1200.0 * std::log2(pitch / 997.0)), 0.1) << pitch << " Hz";
    }
  }
}

}  // namespace
