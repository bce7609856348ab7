#include "music/SongPlayer.h"

#include <algorithm>

#include "synth/FloatToInt.h"
#include "synth/Song.h"
#include "synth/Synth.h"

SongPlayer::SongPlayer() : channels(kChannels) {}

void SongPlayer::clearChannels() {
  for (auto& state : channels) state = ChannelState{};
}

namespace {

class SynthTarget : public SongPlayer::EventTarget {
 public:
  explicit SynthTarget(Synth& synth) : synth_(synth) {}
  void event(int channel, int kind, uint32_t value) override { synth_.event(channel, kind, value); }

 private:
  Synth& synth_;
};

}  // namespace

void SongPlayer::tick(Synth& synth) {
  SynthTarget target(synth);
  tick(target);
}

void SongPlayer::tick(EventTarget& synth) {
  if (!song) return;
  const uint32_t ticksPerStep = song->ticksPerStep ? song->ticksPerStep : 1;
  if (tickCounter % ticksPerStep == 0) startOrderStep();

  const int channelCount = std::min<int>(song->channelCount, int(song->orderLists.size()));
  for (int k = 0; k < channelCount; ++k) {
    ChannelState& state = channels[k];
    if (state.pattern < 0) continue;
    const Pattern& pattern = song->patterns[state.pattern];
    if (state.wait > 0) {
      --state.wait;
    } else if (state.row < pattern.rows.size()) {
      playRow(synth, k, state);
      ++state.row;
      state.wait = state.speed - 1;  // a speed of 0 wraps: no further rows
    }
    sendControllers(synth, k, state);
  }
  ++tickCounter;
}

void SongPlayer::startOrderStep() {
  const int channelCount = std::min<int>(song->channelCount, int(song->orderLists.size()));
  for (int k = 0; k < channelCount; ++k) {
    const OrderList& list = song->orderLists[k];
    if (list.steps.size() <= orderPosition) continue;
    const OrderStep& step = list.steps[orderPosition];
    ChannelState& state = channels[k];
    // Slot 255 does not exist: such a step starts no pattern.
    if (step.pattern != 0 && step.pattern < song->patterns.size()) {
      state.pattern = step.pattern;
      state.wait = 0;
      state.transpose = step.transpose;
      state.row = 0;
      state.speed = song->speed;
      // A slide in progress stops at the value it has reached.
      for (auto& slot : state.controllers) slot.start = slot.end = slot.current;
    }
    for (const ControllerSlide* slide : {&step.slideA, &step.slideB}) {
      if (slide->controller == 0) continue;
      ControllerSlot& slot = state.controllers[slide->controller];
      slot.start = float(slide->from);
      slot.end = float(slide->to);
      if (slide->from == slide->to) slot.flags |= kSendNow;
    }
  }
  ++orderPosition;
}

void SongPlayer::playRow(EventTarget& synth, int channel, ChannelState& state) {
  const PatternRow& row = song->patterns[state.pattern].rows[state.row];
  for (int c = 0; c < 16; ++c) {
    const PatternCell& cell = row.cells[c];
    const uint32_t velocity = uint32_t(cell.velocity) << 16;
    if (cell.note == 255) {
      if (state.sounding[c] != 0) {
        synth.event(channel, 1, uint16_t(state.sounding[c]) | velocity);
        state.sounding[c] = 0;
      }
    } else if (cell.note != 0) {
      if (state.sounding[c] != 0) synth.event(channel, 1, uint16_t(state.sounding[c]) | velocity);
      const int16_t note = int16_t(uint16_t(state.transpose + cell.note));
      synth.event(channel, 0, uint16_t(note) | velocity);
      state.sounding[c] = note;
    }
    if (cell.command == 255) {
      state.speed = cell.argument;
    } else if (cell.command != 0) {
      state.controllers[cell.command].flags = kSendNow + cell.argument;
    }
  }
}

void SongPlayer::sendControllers(EventTarget& synth, int channel, ChannelState& state) {
  const uint32_t rowCount = song->patterns[state.pattern].rowCount;
  // A pattern without rows has no position: its slides stand at their end.
  const float f = rowCount ? float(state.row) / float(rowCount) : 1.0f;
  for (int s = 0; s < kControllers; ++s) {
    ControllerSlot& slot = state.controllers[s];
    if (!(slot.flags & kSendNow) && slot.start == slot.end) continue;
    slot.flags &= ~kSendNow;
    slot.current = slot.start + (slot.end - slot.start) * f;
    float v = slot.current + float(slot.flags);
    if (v > 255.0f) v = 255.0f;
    if (v < 0.0f) v = 0.0f;
    const uint32_t value = uint32_t(truncateToInt(v));
    synth.event(channel, 2, uint32_t(s) | value << 16);
  }
}
