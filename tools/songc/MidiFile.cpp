#include "songc/MidiFile.h"

#include <fstream>
#include <iterator>

namespace {

constexpr size_t kMaxFileBytes = size_t(64) << 20;
constexpr uint64_t kMaxTick = 0x7FFFFFFF;

std::string hex(unsigned value) {
  static const char digits[] = "0123456789ABCDEF";
  return std::string("0x") + digits[(value >> 4) & 15] + digits[value & 15];
}

// A cursor over one chunk; every read checks the chunk's end.
class ChunkReader {
 public:
  ChunkReader(const uint8_t* data, size_t begin, size_t end, std::string where)
      : data_(data), at_(begin), end_(end), where_(std::move(where)) {}

  bool atEnd() const { return at_ >= end_; }
  size_t offset() const { return at_; }

  [[noreturn]] void fail(const std::string& what, size_t offset) const {
    throw MidiError(where_ + ", byte " + std::to_string(offset) + ": " + what);
  }

  uint8_t byte(const char* what) {
    if (at_ >= end_) fail(std::string("the track ends inside ") + what, at_);
    return data_[at_++];
  }

  uint32_t variableLength(const char* what) {
    const size_t start = at_;
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
      const uint8_t b = byte(what);
      value = value << 7 | (b & 0x7F);
      if (!(b & 0x80)) return value;
    }
    fail(std::string(what) + " runs over four bytes", start);
  }

  std::string bytes(uint32_t count, const char* what) {
    if (count > end_ - at_)
      fail(std::string(what) + " of " + std::to_string(count) + " bytes runs past the track's end",
           at_);
    std::string out(reinterpret_cast<const char*>(data_ + at_), count);
    at_ += count;
    return out;
  }

 private:
  const uint8_t* data_;
  size_t at_;
  size_t end_;
  std::string where_;
};

uint32_t bigEndian(const uint8_t* p, int bytes) {
  uint32_t value = 0;
  for (int i = 0; i < bytes; ++i) value = value << 8 | p[i];
  return value;
}

// Data bytes of the channel message with this status.
int dataBytes(uint8_t status) {
  const uint8_t type = status & 0xF0;
  return type == 0xC0 || type == 0xD0 ? 1 : 2;
}

MidiTrack readTrack(ChunkReader& in) {
  MidiTrack track;
  uint64_t tick = 0;
  uint8_t running = 0;
  while (!in.atEnd()) {
    tick += in.variableLength("a delta time");
    if (tick > kMaxTick)
      in.fail("the events run past tick " + std::to_string(kMaxTick), in.offset());
    const size_t start = in.offset();
    MidiEvent event;
    event.tick = uint32_t(tick);
    uint8_t first = in.byte("an event");
    if (first < 0x80) {
      if (!running)
        in.fail("data byte " + hex(first) + " comes without a status byte before it", start);
      event.status = running;
      event.data1 = first;
    } else {
      event.status = first;
    }
    if (event.isChannelMessage()) {
      running = event.status;
      if (first >= 0x80) event.data1 = in.byte("a channel message");
      if (dataBytes(event.status) == 2) event.data2 = in.byte("a channel message");
      if ((event.data1 | event.data2) & 0x80)
        in.fail("a channel message " + hex(event.status) + " holds a data byte above 0x7F", start);
    } else if (event.status == MidiEvent::kMeta) {
      running = 0;
      event.data1 = in.byte("a meta event");
      event.data = in.bytes(in.variableLength("a meta event's length"), "a meta event");
      if (event.data1 == midiMeta::kEndOfTrack) {
        track.endTick = event.tick;
        return track;
      }
    } else if (event.status == 0xF0 || event.status == 0xF7) {
      running = 0;
      event.data =
          in.bytes(in.variableLength("a system-exclusive length"), "a system-exclusive event");
    } else {
      in.fail("status " + hex(event.status) + " does not belong in a file", start);
    }
    track.events.push_back(std::move(event));
  }
  track.endTick = track.events.empty() ? 0 : track.events.back().tick;
  return track;
}

void putBigEndian(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out.push_back(uint8_t(value >> (8 * i)));
}

void putVariableLength(std::vector<uint8_t>& out, uint32_t value) {
  uint8_t groups[5];
  int n = 0;
  do {
    groups[n++] = value & 0x7F;
    value >>= 7;
  } while (value);
  while (n-- > 0) out.push_back(uint8_t(groups[n] | (n ? 0x80 : 0)));
}

}  // namespace

MidiFile readMidiFile(const uint8_t* data, size_t size, const std::string& fileName) {
  auto fail = [&](const std::string& what) -> void { throw MidiError(fileName + ": " + what); };
  if (size < 14 || bigEndian(data, 4) != 0x4D546864)  // "MThd"
    fail("not a MIDI file (it does not begin with an \"MThd\" header of 14 bytes)");
  const uint32_t headerLength = bigEndian(data + 4, 4);
  if (headerLength < 6 || headerLength > size - 8)
    fail("the header's length " + std::to_string(headerLength) + " does not fit the file");
  MidiFile midi;
  midi.format = uint16_t(bigEndian(data + 8, 2));
  const uint32_t announced = bigEndian(data + 10, 2);
  midi.division = uint16_t(bigEndian(data + 12, 2));

  size_t at = 8 + size_t(headerLength);
  while (size - at >= 8) {
    const uint32_t type = bigEndian(data + at, 4);
    const uint32_t length = bigEndian(data + at + 4, 4);
    const std::string name = "track " + std::to_string(midi.tracks.size() + 1);
    if (length > size - at - 8)
      fail((type == 0x4D54726B ? name : "a chunk at byte " + std::to_string(at)) +
           " is cut short: it claims " + std::to_string(length) + " bytes, the file holds " +
           std::to_string(size - at - 8) + " more");
    if (type == 0x4D54726B) {  // "MTrk"; other chunks are skipped, as the format asks
      ChunkReader in(data, at + 8, at + 8 + length, fileName + ": " + name);
      midi.tracks.push_back(readTrack(in));
    }
    at += 8 + size_t(length);
  }
  if (midi.tracks.size() < announced)
    fail("the header announces " + std::to_string(announced) + " tracks, the file holds " +
         std::to_string(midi.tracks.size()) + " (is it cut short?)");
  return midi;
}

MidiFile readMidiFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw MidiError(path + ": cannot open the file");
  in.seekg(0, std::ios::end);
  const std::streamoff length = in.tellg();
  if (length < 0 || uint64_t(length) > kMaxFileBytes)
    throw MidiError(path + ": not a MIDI file of at most 64 MiB");
  in.seekg(0);
  std::vector<uint8_t> bytes(static_cast<size_t>(length));
  in.read(reinterpret_cast<char*>(bytes.data()), length);
  if (!in) throw MidiError(path + ": cannot read the file");
  return readMidiFile(bytes.data(), bytes.size(), path);
}

std::vector<uint8_t> writeMidiFile(const MidiFile& midi) {
  std::vector<uint8_t> out = {'M', 'T', 'h', 'd'};
  putBigEndian(out, 6, 4);
  putBigEndian(out, midi.format, 2);
  putBigEndian(out, uint32_t(midi.tracks.size()), 2);
  putBigEndian(out, midi.division, 2);
  for (const MidiTrack& track : midi.tracks) {
    out.insert(out.end(), {'M', 'T', 'r', 'k', 0, 0, 0, 0});
    const size_t start = out.size();
    uint32_t tick = 0;
    for (const MidiEvent& event : track.events) {
      putVariableLength(out, event.tick - tick);
      tick = event.tick;
      out.push_back(event.status);
      if (event.isChannelMessage()) {
        out.push_back(event.data1);
        if (dataBytes(event.status) == 2) out.push_back(event.data2);
        continue;
      }
      if (event.status == MidiEvent::kMeta) out.push_back(event.data1);
      putVariableLength(out, uint32_t(event.data.size()));
      out.insert(out.end(), event.data.begin(), event.data.end());
    }
    const uint32_t end = track.endTick > tick ? track.endTick : tick;
    putVariableLength(out, end - tick);
    out.insert(out.end(), {0xFF, midiMeta::kEndOfTrack, 0});
    const uint32_t length = uint32_t(out.size() - start);
    for (int i = 0; i < 4; ++i) out[start - 4 + size_t(i)] = uint8_t(length >> (8 * (3 - i)));
  }
  return out;
}
