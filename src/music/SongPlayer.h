// The song sequencer: turns a Song into synthesizer events, one tick at a
// time. Every ticksPerStep ticks it starts the next order step (patterns,
// transposes, controller slides); on every tick each channel counts down to
// its next row, plays it, and re-sends the controllers that are moving.
//
// How to use: set song and orderPosition, zero tickCounter (clearChannels for
// a fresh start), then call tick(synth) once before each block is rendered.
// A tick allocates nothing.
#pragma once

#include <cstdint>
#include <vector>

struct Song;
class Synth;

class SongPlayer {
 public:
  static constexpr int kChannels = 256;
  static constexpr int kControllers = 256;
  static constexpr uint32_t kSendNow = 0x1000;

  // One controller's slide on a channel.
  struct ControllerSlot {
    float start = 0.0f;
    float end = 0.0f;
    float current = 0.0f;
    uint32_t flags = 0;  // low 8 bits: the offset of the last command; kSendNow
  };

  // What the sequencer knows of one channel.
  struct ChannelState {
    int pattern = -1;  // pattern slot playing, or -1 for none
    int8_t transpose = 0;
    uint32_t wait = 0;
    uint32_t row = 0;
    uint32_t speed = 0;
    int16_t sounding[16] = {};  // 0: no note in the column
    ControllerSlot controllers[kControllers];
  };

  // Where a tick's events go: the synthesizer, or a recorder in tests.
  class EventTarget {
   public:
    virtual ~EventTarget() = default;
    virtual void event(int channel, int kind, uint32_t value) = 0;
  };

  SongPlayer();

  // One tick: the order step if one begins, then every channel's row and
  // moving controllers, sent to synth.
  void tick(Synth& synth);
  void tick(EventTarget& target);
  // Every channel state back to zero (no pattern, nothing sounding).
  void clearChannels();

  const Song* song = nullptr;
  uint32_t orderPosition = 0;
  uint32_t tickCounter = 0;
  std::vector<ChannelState> channels;  // kChannels entries

 private:
  void startOrderStep();
  void playRow(EventTarget& target, int channel, ChannelState& state);
  void sendControllers(EventTarget& target, int channel, ChannelState& state);
};
