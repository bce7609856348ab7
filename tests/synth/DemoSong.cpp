#include "DemoSong.h"

#include "synth/ControllerFollower.h"
#include "synth/Filter.h"
#include "synth/Lfo.h"
#include "synth/SongWriter.h"
#include "synth/Synth.h"
#include "synth/Waveshaper.h"

void buildDemoSetup(Synth& synth) {
  // Channel 0: pulse with a width LFO, synced FM triangle, two-stage filter
  // swept by the envelope and a controller, saturation.
  {
    SynthChannel& ch = *synth.channels[0];
    ch.clearLayers();
    Voice& v = *ch.addLayer(4);
    auto& env = v.envelope();
    env.attack = 2;
    env.decay = 10;
    env.sustain = 0.5f;
    env.release = 8;
    auto& lfo = v.addModulator<Lfo>();
    lfo.waveform = 0;
    lfo.period = 32;
    lfo.fadeSteps = 8;
    auto& follower = v.addModulator<ControllerFollower>();
    follower.controller = 7;
    follower.smoothing = 0.2f;
    Oscillator& o0 = *v.oscillators[0];
    o0.waveform = Oscillator::kPulse;
    o0.routes[0] = {1, 0.1f};
    Oscillator& o1 = v.addOscillator();
    o1.waveform = Oscillator::kTriangle;
    o1.sync = true;
    o1.fmAmount = 0.5f;
    o1.mix = 0.5f;
    o1.detune = 0.01f;
    o1.pulseWidth = 0.3f;
    auto& filter = static_cast<Filter&>(*v.effects[0]);
    filter.singleStage = false;
    filter.cutoff = 0.05f;
    filter.primary = {0, 0.3f};
    filter.additive = {2, 0.2f};
    filter.scaling = {1, 0.5f};
    auto& shaper = v.addEffect<Waveshaper>();
    shaper.mode = Waveshaper::kSaturate;
    shaper.drive = 2.0f;
    synth.send1[0] = 0.3f;
  }
  // Channel 1: two layers (additive; sample-and-hold noise above note 60)
  // and a sine-fold insert.
  {
    SynthChannel& ch = *synth.channels[1];
    ch.clearLayers();
    Voice& a = *ch.addLayer(3);
    a.oscillators[0]->waveform = Oscillator::kAdditive;
    a.oscillators[0]->pulseWidth = 0.2f;
    static_cast<Filter&>(*a.effects[0]).mode = Filter::kBandPass;
    Voice& b = *ch.addLayer(2);
    b.keyLow = 60;
    b.oscillators[0]->waveform = Oscillator::kSampleHold;
    b.oscillators[0]->pulseWidth = 0.1f;
    static_cast<Filter&>(*b.effects[0]).mode = Filter::kHighPass;
    ch.insertPresent = true;
    ch.insert.mode = Waveshaper::kSineFold;
    ch.insert.drive = 3.0f;
    ch.insert.level = 0.8f;
    synth.send2[1] = 0.4f;
    synth.pan[1] = 0.2f;
  }
  // Channel 2: gliding sine, periodic noise frequency-modulated by it,
  // random LFOs on pitch and filter.
  {
    SynthChannel& ch = *synth.channels[2];
    ch.clearLayers();
    Voice& v = *ch.addLayer(2);
    auto& random = v.addModulator<Lfo>();
    random.waveform = 4;
    random.period = 5;
    auto& smooth = v.addModulator<Lfo>();
    smooth.waveform = 5;
    smooth.period = 7;
    smooth.restartOnNote = false;
    Oscillator& o0 = *v.oscillators[0];
    o0.waveform = Oscillator::kSine;
    o0.glide = 0.9f;
    o0.routes[2] = {1, 0.05f};
    Oscillator& o1 = v.addOscillator();
    o1.waveform = Oscillator::kPeriodicNoise;
    o1.fmAmount = 0.3f;
    o1.mix = 0.3f;
    o1.pulseWidth = 0.7f;
    static_cast<Filter&>(*v.effects[0]).additive = {2, 0.4f};
    static_cast<Filter&>(*v.effects[0]).mode = Filter::kNotch;
    synth.send3[2] = 0.2f;
    synth.pan[2] = 0.8f;
  }
  // Channel 3: ring-modulated pulse under a hold-less envelope, FM by
  // negative amounts (the triangle's falling-phase path), a clipper.
  {
    SynthChannel& ch = *synth.channels[3];
    ch.clearLayers();
    Voice& v = *ch.addLayer(2);
    v.envelope().hold = false;
    v.envelope().velocitySens = -0.5f;
    v.oscillators[0]->waveform = Oscillator::kTriangle;
    Oscillator& o1 = v.addOscillator();
    o1.waveform = Oscillator::kPulse;
    o1.combine = 1;
    o1.mix = 0.7f;
    o1.fmAmount = -2.5f;
    o1.multiplier = 3;
    auto& clip = v.addEffect<Waveshaper>();
    clip.level = 0.5f;
    clip.drive = 4.0f;
    synth.volume[3] = 0.7f;
    synth.send1[3] = 0.1f;
  }
  for (auto& channel : synth.channels) channel->copyFirstVoices();
}

Song buildDemoSong() {
  Song song;
  song.stepLength = 2;
  song.ticksPerStep = 32;
  auto note = [](Pattern& p, int row, int column, uint8_t n, uint8_t velocity) {
    p.rows[row].cells[column].note = n;
    p.rows[row].cells[column].velocity = velocity;
  };
  auto command = [](Pattern& p, int row, int column, uint8_t c, uint8_t argument) {
    p.rows[row].cells[column].command = c;
    p.rows[row].cells[column].argument = argument;
  };
  Pattern& p1 = song.patterns[1];
  p1.resize(16);
  note(p1, 0, 0, 48, 100);
  note(p1, 0, 1, 55, 80);
  note(p1, 4, 0, 51, 127);
  note(p1, 8, 1, 255, 60);
  note(p1, 10, 0, 255, 0);
  command(p1, 2, 2, 7, 40);
  Pattern& p2 = song.patterns[2];
  p2.resize(8);
  note(p2, 0, 0, 40, 90);
  note(p2, 0, 1, 64, 110);
  command(p2, 1, 3, 255, 3);
  note(p2, 3, 1, 67, 70);
  note(p2, 6, 0, 255, 30);
  Pattern& p3 = song.patterns[3];
  p3.resize(12);
  note(p3, 0, 0, 36, 127);
  note(p3, 5, 0, 43, 127);
  note(p3, 9, 0, 255, 100);

  OrderList& l0 = song.orderLists[0];
  l0.steps[0].pattern = 1;
  l0.steps[0].slideA = {7, 0, 255};
  l0.steps[2].pattern = 1;
  l0.steps[2].transpose = 5;
  l0.steps[3].slideB = {7, 90, 90};
  song.orderLists[1].steps[0].pattern = 2;
  song.orderLists[1].steps[2].pattern = 2;
  song.orderLists[1].steps[2].transpose = -3;
  song.orderLists[2].steps[1].pattern = 3;
  song.orderLists[3].steps[0].pattern = 1;
  song.orderLists[3].steps[0].transpose = -12;
  return song;
}

std::vector<uint8_t> demoSongImage() {
  Synth synth;
  buildDemoSetup(synth);
  return writeSongFile(synth, buildDemoSong());
}
