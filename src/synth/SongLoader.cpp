#include "synth/SongLoader.h"

#include <algorithm>
#include <cstring>

#include "synth/DataStream.h"
#include "synth/Synth.h"

namespace {

// A byte cursor over the song section that never reads past the image.
class ByteReader {
 public:
  ByteReader(const uint8_t* at, const uint8_t* end) : at_(at), end_(end) {}
  bool has(size_t n) const { return size_t(end_ - at_) >= n; }
  // Little-endian, n bytes; false (and nothing read) when the image ends first.
  bool read(size_t n, uint32_t& value) {
    if (!has(n)) return false;
    value = 0;
    for (size_t i = 0; i < n; ++i) value |= uint32_t(at_[i]) << (8 * i);
    at_ += n;
    return true;
  }
  bool readBytes(void* to, size_t n) {
    if (!has(n)) return false;
    std::memcpy(to, at_, n);
    at_ += n;
    return true;
  }

 private:
  const uint8_t* at_;
  const uint8_t* end_;
};

bool readOrderList(ByteReader& in, Song& song, size_t lengthBytes, uint32_t& longest) {
  uint32_t channel, length;
  if (!in.read(1, channel) || !in.read(lengthBytes, length)) return false;
  // Each step takes 2 bytes at least: refuse before allocating for a length
  // the image cannot hold.
  if (channel >= song.channelCount || !in.has(size_t(length) * 2)) return false;
  OrderList& list = song.orderLists[channel];
  list.resize(uint16_t(length));
  longest = std::max(longest, length);
  for (auto& step : list.steps) {
    uint32_t mask;
    if (!in.read(2, mask)) return false;
    auto* bytes = reinterpret_cast<uint8_t*>(&step);
    for (int b = 0; b < 9; ++b)
      if (mask & (1u << b) && !in.readBytes(&bytes[b], 1)) return false;
  }
  return true;
}

bool readPattern(ByteReader& in, Song& song, size_t lengthBytes) {
  uint32_t slot, rowCount;
  if (!in.read(1, slot) || !in.read(lengthBytes, rowCount)) return false;
  if (slot >= song.patternSlots || !in.has(size_t(rowCount) * 4)) return false;
  Pattern& pattern = song.patterns[slot];
  pattern.resize(uint16_t(rowCount));
  for (auto& row : pattern.rows) {
    uint32_t mask;
    if (!in.read(4, mask)) return false;
    for (int c = 0; c < 16; ++c)
      if (mask & (1u << c) && !in.readBytes(&row.cells[c], 4)) return false;
  }
  return true;
}

std::unique_ptr<Song> parseSongSection(ByteReader& in) {
  uint32_t version, orderListCount, patternCount, reserved, tempo, speed, stepLength;
  if (!in.read(2, version) || !in.read(1, orderListCount) || !in.read(1, patternCount) ||
      !in.read(1, reserved) || !in.read(1, tempo) || !in.read(1, speed) ||
      !in.read(1, stepLength))
    return nullptr;
  // Without a tempo or a step length there is no song clock.
  if (tempo == 0 || stepLength == 0) return nullptr;
  auto song = std::make_unique<Song>();
  song->reserved = uint8_t(reserved);
  song->tempo = uint8_t(tempo);
  song->speed = uint8_t(speed);
  song->stepLength = uint8_t(stepLength);
  song->ticksPerStep = uint16_t(16 * stepLength);

  const size_t lengthBytes = version == 0x0102 ? 1 : 2;
  uint32_t longest = 0;
  for (uint32_t i = 0; i < orderListCount; ++i)
    if (!readOrderList(in, *song, lengthBytes, longest)) return nullptr;
  for (int k = 0; k < song->channelCount; ++k)
    if (song->orderLists[k].length < longest) song->orderLists[k].resize(uint16_t(longest));
  for (uint32_t i = 0; i < patternCount; ++i)
    if (!readPattern(in, *song, lengthBytes)) return nullptr;
  return song;
}

}  // namespace

SongLoadResult loadSong(Synth& synth, const uint8_t* image, size_t size) {
  SongLoadResult result;
  if (!image) size = 0;
  DataStream stream(image, size);
  const bool endMarkerFound = synth.loadSetup(stream);
  if (stream.failed()) {
    result.error = SongLoadError::kSetupDamaged;
    return result;
  }
  result.endMarkerWrong = !endMarkerFound;

  ByteReader in(image + stream.tell(), image + size);
  char magic[4];
  if (!in.readBytes(magic, 4) || std::memcmp(magic, "GOAT", 4) != 0) {
    result.error = SongLoadError::kNoMagic;
    return result;
  }
  result.song = parseSongSection(in);
  if (!result.song) result.error = SongLoadError::kSongDamaged;
  return result;
}
