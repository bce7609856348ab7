// The compiler on small sources: what a source says lands in the right
// fields and bytes, and what it leaves out keeps the synthesizer's defaults.
#include <gtest/gtest.h>

#include "songc/SongCompiler.h"
#include "synth/ControllerFollower.h"
#include "synth/Delay.h"
#include "synth/Envelope.h"
#include "synth/Filter.h"
#include "synth/Lfo.h"
#include "synth/Waveshaper.h"

namespace {

CompiledSong compile(const std::string& text) {
  return compileSong(SourceText::fromString("test.song", text));
}

const char* kInstrument = R"(
song tempo=70 speed=3 stepLength=12
controller cut 16
channel 2 lead volume=0.7 pan=0.25 send3=0.5
  insert drive=3 mode=fold
  layer voices=3 keyLow=10
    envelope amp attack=4 hold=no
    lfo vib waveform=triangle period=24
    follower bright controller=cut
    oscillator waveform=pulse multiplier=1 pitch=vib:0.01
    oscillator sync=yes combine=ring
      mix=0.25 fm=2:1.5
    filter mode=notch primary=bright:0.5
    waveshaper level=0.5
  end
end
)";

TEST(SongCompiler, InstrumentFieldsAndDefaults) {
  CompiledSong out = compile(kInstrument);
  EXPECT_EQ(out.song->tempo, 70);
  EXPECT_EQ(out.song->speed, 3);
  EXPECT_EQ(out.song->ticksPerStep, 16 * 12);

  Synth& synth = *out.synth;
  EXPECT_FLOAT_EQ(synth.volume[2], 0.7f);
  EXPECT_FLOAT_EQ(synth.pan[2], 0.25f);
  EXPECT_FLOAT_EQ(synth.send1[2], 0.0f);
  EXPECT_FLOAT_EQ(synth.send3[2], 0.5f);

  SynthChannel& channel = *synth.channels[2];
  EXPECT_TRUE(channel.insertPresent);
  EXPECT_FLOAT_EQ(channel.insert.drive, 3.0f);
  EXPECT_FLOAT_EQ(channel.insert.level, 1.0f);
  EXPECT_EQ(channel.insert.mode, Waveshaper::kSineFold);
  ASSERT_EQ(channel.layerCount, 1);
  EXPECT_EQ(channel.voiceCount[0], 3);

  // Every voice of the layer is a copy of the one the source describes.
  for (auto& voice : channel.layers[0]) {
    EXPECT_EQ(voice->keyLow, 10);
    EXPECT_EQ(voice->keyHigh, 255);
    ASSERT_EQ(voice->modulators.size(), 3u);
    const auto& envelope = static_cast<const Envelope&>(*voice->modulators[0]);
    EXPECT_EQ(envelope.attack, 4);
    EXPECT_EQ(envelope.decay, 8);  // not given: the default
    EXPECT_FALSE(envelope.hold);
    const auto& lfo = static_cast<const Lfo&>(*voice->modulators[1]);
    EXPECT_EQ(lfo.waveform, 3);
    EXPECT_EQ(lfo.period, 24);
    EXPECT_EQ(lfo.fadeSteps, 32);
    const auto& follower = static_cast<const ControllerFollower&>(*voice->modulators[2]);
    EXPECT_EQ(follower.controller, 16);

    ASSERT_EQ(voice->oscillators.size(), 2u);
    EXPECT_EQ(voice->oscillators[0]->waveform, Oscillator::kPulse);
    EXPECT_EQ(voice->oscillators[0]->routes[2].source, 1);  // "vib" is modulator 1
    EXPECT_FLOAT_EQ(voice->oscillators[0]->routes[2].depth, 0.01f);
    const Oscillator& second = *voice->oscillators[1];
    EXPECT_TRUE(second.sync);
    EXPECT_EQ(second.combine, 1);
    EXPECT_FLOAT_EQ(second.mix, 0.25f);  // from the continuation line
    EXPECT_EQ(second.routes[4].source, 2);
    EXPECT_FLOAT_EQ(second.routes[4].depth, 1.5f);
    EXPECT_EQ(second.multiplier, 2);

    ASSERT_EQ(voice->effects.size(), 2u);
    const auto& filter = static_cast<const Filter&>(*voice->effects[0]);
    EXPECT_EQ(filter.mode, Filter::kNotch);
    EXPECT_EQ(filter.primary.source, 2);
    EXPECT_FLOAT_EQ(filter.primary.depth, 0.5f);
    EXPECT_EQ(filter.scaling.source, 2);  // the filter's default route stays
    EXPECT_FLOAT_EQ(filter.inputGain, 0.125f);
    EXPECT_EQ(voice->effects[1]->type, moduleType::kWaveshaper);
  }
  // Channels the source leaves out keep the synthesizer's construction.
  EXPECT_EQ(synth.channels[0]->layerCount, 1);
  EXPECT_EQ(synth.channels[0]->voiceCount[0], 8);
}

TEST(SongCompiler, BusesAreFilledSlotBySlot) {
  CompiledSong out = compile(R"(
bus 3
  empty
  delay delayLeft=12 loopLeft=24 dry=0
end
)");
  EffectChain& bus = *out.synth->buses[2];
  EXPECT_EQ(bus.slots[0], nullptr);
  ASSERT_NE(bus.slots[1], nullptr);
  EXPECT_EQ(bus.slots[2], nullptr);
  auto& delay = static_cast<Delay&>(*bus.slots[1]);
  EXPECT_EQ(delay.delayLeft, 12);
  EXPECT_EQ(delay.loopLeft, 24);
  EXPECT_EQ(delay.delayRight, 16);
  EXPECT_FLOAT_EQ(delay.dry, 0.0f);
  // Bus 1 keeps its constructed chorus and delay.
  EXPECT_NE(out.synth->buses[0]->slots[0], nullptr);
  EXPECT_NE(out.synth->buses[0]->slots[1], nullptr);
}

TEST(SongCompiler, PatternsPhrasesAndOrderLists) {
  CompiledSong out = compile(R"(
song length=6
controller cut 0x10
phrase two
  C-4 40 | E-4
  off .. 10 FF | ... .. FF 02
end
pattern first rows=8
  use two+2 two*2
  C#4
end
pattern second slot=9 velocity=0x30
  n1
end
order 3
  0     first  -3 slide=cut:0..255 slide=17:9..9
  2..3  second transpose=5 spare=7
  4     -      slide=cut:40..40
end
)");
  const Song& song = *out.song;
  const Pattern& first = song.patterns[1];
  ASSERT_EQ(first.rowCount, 8);
  EXPECT_EQ(first.rows[0].cells[0].note, 39);  // C-4 is 37, +2
  EXPECT_EQ(first.rows[0].cells[0].velocity, 0x40);
  EXPECT_EQ(first.rows[0].cells[1].note, 41 + 2);
  EXPECT_EQ(first.rows[0].cells[1].velocity, 0xFF);  // the default velocity
  EXPECT_EQ(first.rows[1].cells[0].note, 255);
  EXPECT_EQ(first.rows[1].cells[0].command, 0x10);
  EXPECT_EQ(first.rows[1].cells[0].argument, 0xFF);
  EXPECT_EQ(first.rows[1].cells[1].note, 0);
  EXPECT_EQ(first.rows[1].cells[1].command, 0xFF);
  EXPECT_EQ(first.rows[1].cells[1].argument, 0x02);
  EXPECT_EQ(first.rows[2].cells[0].note, 37);  // the phrase again, untransposed
  EXPECT_EQ(first.rows[6].cells[0].note, 38);  // C#4
  for (int c = 0; c < 16; ++c) EXPECT_EQ(first.rows[7].cells[c].note, 0);  // padding

  const Pattern& second = song.patterns[9];
  ASSERT_EQ(second.rowCount, 1);
  EXPECT_EQ(second.rows[0].cells[0].note, 1);
  EXPECT_EQ(second.rows[0].cells[0].velocity, 0x30);

  const OrderList& list = song.orderLists[3];
  ASSERT_EQ(list.length, 6);
  const OrderStep& step0 = list.steps[0];
  EXPECT_EQ(step0.pattern, 1);
  EXPECT_EQ(step0.transpose, -3);
  EXPECT_EQ(step0.slideA.controller, 16);
  EXPECT_EQ(step0.slideA.to, 255);
  EXPECT_EQ(step0.slideB.controller, 17);
  EXPECT_EQ(step0.slideB.from, 9);
  EXPECT_EQ(list.steps[1].pattern, 0);
  for (int p : {2, 3}) {
    EXPECT_EQ(list.steps[p].pattern, 9);
    EXPECT_EQ(list.steps[p].transpose, 5);
    EXPECT_EQ(list.steps[p].spare, 7);
  }
  EXPECT_EQ(list.steps[4].pattern, 0);
  EXPECT_EQ(list.steps[4].slideA.from, 40);
  EXPECT_EQ(list.steps[5].pattern, 0);
}

}  // namespace
