// Work buffers shared by every channel, voice and oscillator of one Synth:
// only one voice renders at a time, so one set serves all. The oscillators'
// work buffer and wrap record deliberately carry over from one oscillator to
// the next (frequency modulation and sync read the previous oscillator's
// output there), as does the sample-and-hold noise's counter and held value.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct SynthScratch {
  std::vector<float> channelMix = std::vector<float>(1);
  std::vector<float> voiceMain = std::vector<float>(1);
  std::vector<float> voiceAux = std::vector<float>(1);
  std::vector<float> oscWork = std::vector<float>(1);
  std::vector<float> wrapBuffer = std::vector<float>(1);
  // The main signals of a group of voices whose effects run side by side,
  // one row of the block size each, and a spare row.
  static constexpr int kVoiceRows = 8;
  std::vector<float> voiceRows = std::vector<float>(kVoiceRows + 1);
  uint8_t noiseCounter = 0;
  float noiseHeld = 0.0f;

  float* voiceRow(int j) { return voiceRows.data() + size_t(j) * (voiceRows.size() / (kVoiceRows + 1)); }

  // Reallocates every buffer to n zeroed floats (n per row).
  void resize(int n);
  // The same, unless the buffers already have n floats (a voice's block size
  // follows the synthesizer's, which has resized them already).
  void ensureSize(int n);
};
