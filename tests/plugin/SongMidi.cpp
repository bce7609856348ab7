#include "plugin/SongMidi.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

#include "music/SongPlayer.h"
#include "midi/SynthToMidi.h"
#include "synth/SongLoader.h"
#include "synth/Synth.h"

namespace {

class Encoder : public SongPlayer::EventTarget {
 public:
  explicit Encoder(SongMidi& out) : out_(out) {}
  uint64_t frame = 0;
  void event(int channel, int kind, uint32_t value) override {
    ++out_.synthEvents;
    MidiMessage messages[midimap::kMaxMessages];
    std::string problem;
    const int count = encodeSynthEvent(channel, kind, value, messages, &problem);
    if (count == 0) ++out_.unencoded;
    for (int i = 0; i < count; ++i)
      out_.events.push_back({frame, {messages[i].status, messages[i].data1, messages[i].data2}});
  }

 private:
  SongMidi& out_;
};

}  // namespace

std::string builtSongFile() { return std::string(KYL_BINARY_DIR) + "/data/show/brumtakt"; }

SongMidi songAsMidi(const std::string& songFile, uint32_t ticks) {
  std::ifstream in(songFile, std::ios::binary);
  const std::vector<uint8_t> image((std::istreambuf_iterator<char>(in)), {});
  Synth synth;
  SongLoadResult loaded = loadSong(synth, image.data(), image.size());
  if (!loaded.song) throw std::runtime_error(songFile + " does not load");
  SongMidi out;
  out.tickFrames = samplesPerTickFor(*loaded.song);
  SongPlayer player;
  player.song = loaded.song.get();
  Encoder encoder(out);
  for (uint32_t t = 0; t < ticks; ++t) {
    encoder.frame = uint64_t(t) * out.tickFrames;
    player.tick(encoder);
  }
  return out;
}
