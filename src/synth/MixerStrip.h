// A channel's mixer strip (volume, pan and the three send levels) reached by
// index, for code that lists parameters instead of naming them, such as a
// plugin's automatable parameters. Names, ranges and order come from
// Synth::describeStrip, which the set-up file and the song compiler follow
// too.
//
//   for (int i = 0; i < MixerStrip::count(); ++i) {
//     const Parameter& p = MixerStrip::parameter(i);  // p.name, p.low, p.high
//     MixerStrip::set(synth, channel, i, MixerStrip::get(synth, channel, i));
//   }
//
// get and set allocate nothing and take no lock; they are as safe as the
// Synth's fields they touch (the rendering thread's, between renders). An
// index or channel out of range reads 0 and sets nothing.
#pragma once

#include "synth/Parameter.h"

class Synth;

class MixerStrip {
 public:
  static int count();
  static const Parameter& parameter(int index);
  static float get(const Synth& synth, int channel, int index);
  // Stores the value as given; the range is what a song source may give.
  static void set(Synth& synth, int channel, int index, float value);
};
