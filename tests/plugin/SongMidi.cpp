#include "plugin/SongMidi.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

#include "music/SongPlayer.h"
#include "plugin/MidiMapping.h"
#include "synth/SongLoader.h"
#include "synth/Synth.h"

namespace {

class Encoder : public SongPlayer::EventTarget {
 public:
  explicit Encoder(SongMidi& out) : out_(out) {}
  uint64_t frame = 0;
  void event(int channel, int kind, uint32_t value) override {
    ++out_.synthEvents;
    uint8_t messages[midimap::kMaxMessages][3];
    const int count = midimap::encode(channel, kind, value, messages);
    if (count == 0) ++out_.unencoded;
    for (int i = 0; i < count; ++i)
      out_.events.push_back({frame, {messages[i][0], messages[i][1], messages[i][2]}});
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
