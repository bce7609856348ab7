// The song file through the real writer and loader: round trips, the
// format's version rules and presence masks, and damaged images, each of
// which must end in its message without a read outside the image (run under
// AddressSanitizer: every image here is an exactly sized heap block). The
// loader says what went wrong; the messages are shown as the music system
// and the shell show them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "DemoSong.h"
#include "RecordedMessages.h"
#include "music/SongLoadMessages.h"
#include "music/SongRenderer.h"
#include "platform/Random.h"
#include "synth/DataStream.h"
#include "synth/Delay.h"
#include "synth/Lfo.h"
#include "synth/SongLoader.h"
#include "synth/SongWriter.h"
#include "synth/Synth.h"

namespace {

std::vector<uint8_t> setupBytes(Synth& synth) {
  std::vector<uint8_t> out;
  DataStream sink(&out);
  synth.save(sink);
  return out;
}

// An exactly sized copy, so that any over-read is caught.
std::unique_ptr<uint8_t[]> exactCopy(const std::vector<uint8_t>& image) {
  std::unique_ptr<uint8_t[]> exact(new uint8_t[image.size() + 1]);
  if (!image.empty()) std::memcpy(exact.get(), image.data(), image.size());
  return exact;
}

std::unique_ptr<Song> load(Synth& synth, const std::vector<uint8_t>& image) {
  recordedMessages().clear();
  return loadSongShowingMessages(synth, exactCopy(image).get(), image.size());
}

SongLoadResult loadQuietly(Synth& synth, const std::vector<uint8_t>& image) {
  recordedMessages().clear();
  return loadSong(synth, exactCopy(image).get(), image.size());
}

bool failedWith(const char* text, const char* caption) {
  for (auto& m : recordedMessages())
    if (m.text == text && m.caption == caption) return true;
  return false;
}

// A song section by hand: header, then records as given.
std::vector<uint8_t> section(uint16_t version, uint8_t lists, uint8_t patterns,
                             std::initializer_list<uint8_t> records) {
  std::vector<uint8_t> out = {'G', 'O', 'A', 'T', uint8_t(version), uint8_t(version >> 8),
                              lists, patterns, 0, 125, 6, 16};
  out.insert(out.end(), records);
  return out;
}

// The length of the demo image's set-up section.
size_t demoSetupSize() {
  Synth probe;
  buildDemoSetup(probe);
  return setupBytes(probe).size();
}

std::vector<uint8_t> withDefaultSetup(const std::vector<uint8_t>& songSection) {
  Synth synth;
  auto image = setupBytes(synth);
  image.insert(image.end(), songSection.begin(), songSection.end());
  return image;
}

}  // namespace

TEST(SongFile, RoundTripKeepsBytesAndSound) {
  const auto image = demoSongImage();
  Synth first;
  auto song = load(first, image);
  ASSERT_TRUE(song);
  EXPECT_TRUE(recordedMessages().empty());

  // Saving what was loaded gives the same set-up and song bytes.
  auto again = setupBytes(first);
  writeSongSection(*song, again);
  EXPECT_EQ(again, image);

  // A set-up built in code and the same set-up loaded sound the same.
  Synth built;
  buildDemoSetup(built);
  Song builtSong = buildDemoSong();
  built.setBlockSize(500);
  // The random LFOs draw from the thread's generator: both renders start it
  // alike.
  platform::srand(1);
  auto a = renderSong(first, *song, 0, 4, 1000, nullptr);
  platform::srand(1);
  auto b = renderSong(built, builtSong, 0, 4, 1000, nullptr);
  ASSERT_EQ(a.blocks.size(), 3u * 32 + 1);
  ASSERT_EQ(a.blocks.size(), b.blocks.size());
  bool audible = false;
  for (size_t i = 0; i < a.blocks.size(); ++i) {
    ASSERT_EQ(0, std::memcmp(a.blocks[i], b.blocks[i], a.framesPerBlock * 4)) << "block " << i;
    for (uint32_t s = 0; s < a.framesPerBlock * 2; ++s) audible |= a.blocks[i][s] != 0;
  }
  EXPECT_TRUE(audible);
}

TEST(SongFile, VersionDecidesLengthWidthAndListsArePadded) {
  // Channel 3 gets 100 steps, one of them with mask 0x0101 (step bytes 0 and
  // 8); pattern 7 gets 2 rows, the first with cells 0 and 1. Version 0x0102
  // has one-byte lengths, any other two-byte ones.
  for (uint16_t version : {0x0102, 0x0103, 0x0200}) {
    const bool wide = version != 0x0102;
    auto body = section(version, 1, 1, {3, 100});
    if (wide) body.push_back(0);
    for (int i = 0; i < 100; ++i) {
      if (i == 5) body.insert(body.end(), {0x01, 0x01, 7, 9});
      else body.insert(body.end(), {0, 0});
    }
    body.insert(body.end(), {7, 2});
    if (wide) body.push_back(0);
    body.insert(body.end(), {0x03, 0, 0, 0, 60, 100, 0, 0, 61, 101, 5, 6, 0, 0, 0, 0});
    Synth synth;
    auto song = load(synth, withDefaultSetup(body));
    ASSERT_TRUE(song) << version;
    for (int k = 0; k < 16; ++k) {
      EXPECT_EQ(song->orderLists[k].length, 100) << k;
      EXPECT_EQ(song->orderLists[k].steps.size(), 100u) << k;
    }
    const OrderStep& step = song->orderLists[3].steps[5];
    EXPECT_EQ(step.pattern, 7);
    EXPECT_EQ(step.spare, 9);
    EXPECT_EQ(step.transpose, 0);
    EXPECT_EQ(song->patterns[7].rowCount, 2);
    EXPECT_EQ(song->patterns[7].rows[0].cells[1].command, 5);
    EXPECT_EQ(song->patterns[7].rows[0].cells[1].argument, 6);
    EXPECT_EQ(song->patterns[7].rows[0].cells[2].note, 0);
    EXPECT_EQ(song->patterns[0].rowCount, 64);
    EXPECT_EQ(song->ticksPerStep, 256);
  }
}

TEST(SongFile, EveryTruncationIsRefused) {
  const auto image = demoSongImage();
  const size_t setupSize = demoSetupSize();
  // Every cut inside the set-up, the song header and the last records; a
  // sample of the cuts between (each of those loads the whole set-up first).
  for (size_t size = 0; size < image.size();
       size += (size < setupSize + 32 || size + 80 > image.size()) ? 1 : 23) {
    Synth synth;
    std::vector<uint8_t> cut(image.begin(), image.begin() + long(size));
    ASSERT_FALSE(load(synth, cut)) << size;
    ASSERT_TRUE(failedWith("Could not load song!", "rARHR")) << size;
  }
}

TEST(SongFile, StartMarkerIsNotCheckedEndMarkerIs) {
  auto image = demoSongImage();
  const size_t setupSize = demoSetupSize();

  auto badStart = image;
  badStart[0] = 'x';
  Synth a;
  EXPECT_TRUE(load(a, badStart));
  EXPECT_TRUE(recordedMessages().empty());

  auto badEnd = image;
  badEnd[setupSize - 1] = 'x';
  Synth b;
  EXPECT_TRUE(load(b, badEnd)) << "the magic after it is still found";
  EXPECT_TRUE(failedWith("FUCK", "FUCK"));
}

TEST(SongFile, LoaderSaysWhatWentWrongAndShowsNothing) {
  auto image = demoSongImage();
  const size_t setupSize = demoSetupSize();
  auto wrongEndAndNoMagic = image;
  wrongEndAndNoMagic[setupSize - 1] = 'x';
  wrongEndAndNoMagic[setupSize] = 'g';

  struct Case {
    std::vector<uint8_t> image;
    SongLoadError error;
    bool endMarkerWrong;
  } cases[] = {
      {image, SongLoadError::kNone, false},
      {std::vector<uint8_t>(image.begin(), image.begin() + long(setupSize / 2)),
       SongLoadError::kSetupDamaged, false},
      {wrongEndAndNoMagic, SongLoadError::kNoMagic, true},
      {std::vector<uint8_t>(image.begin(), image.end() - 1), SongLoadError::kSongDamaged, false},
  };
  for (const Case& c : cases) {
    Synth synth;
    SongLoadResult result = loadQuietly(synth, c.image);
    EXPECT_EQ(result.error, c.error) << c.image.size();
    EXPECT_EQ(result.endMarkerWrong, c.endMarkerWrong) << c.image.size();
    EXPECT_EQ(result.song != nullptr, c.error == SongLoadError::kNone) << c.image.size();
    EXPECT_TRUE(recordedMessages().empty()) << "the loader shows no box";
  }

  // Shown: the end marker's box first, then the refusal's.
  Synth synth;
  EXPECT_FALSE(load(synth, wrongEndAndNoMagic));
  ASSERT_EQ(recordedMessages().size(), 2u);
  EXPECT_EQ(recordedMessages()[0].text, "FUCK");
  EXPECT_EQ(recordedMessages()[0].caption, "FUCK");
  EXPECT_EQ(recordedMessages()[1].text, "Could not load song!");
  EXPECT_EQ(recordedMessages()[1].caption, "rARHR");
}

TEST(SongFile, ValuesBeyondTheLimitsAreRefused) {
  auto refuses = [](const std::vector<uint8_t>& image) {
    Synth synth;
    return !load(synth, image) && failedWith("Could not load song!", "rARHR");
  };
  auto imageOf = [](auto change) {
    Synth synth;
    buildDemoSetup(synth);
    change(synth);
    return writeSongFile(synth, buildDemoSong());
  };
  Voice& (*firstVoice)(Synth&) = [](Synth& s) -> Voice& { return *s.channels[0]->layers[0][0]; };

  EXPECT_TRUE(refuses(imageOf([&](Synth& s) {
    for (int i = 0; i < 8; ++i) firstVoice(s).addEffect(moduleType::kFilter);
  }))) << "nine voice effects";
  EXPECT_TRUE(refuses(imageOf([&](Synth& s) {
    while (firstVoice(s).oscillators.size() < 33) firstVoice(s).addOscillator();
  }))) << "33 oscillators";
  EXPECT_TRUE(refuses(imageOf([&](Synth& s) { firstVoice(s).modulators[1]->type = 4; })))
      << "modulator type 4";
  EXPECT_TRUE(refuses(imageOf([&](Synth& s) { firstVoice(s).effects[0]->type = 7; })))
      << "voice effect type 7";
  EXPECT_TRUE(refuses(imageOf([&](Synth& s) { s.buses[1]->slots[0]->type = 6; })))
      << "send effect type 6";
  // Limits that hold load fine: 8 effects, 32 oscillators.
  Synth ok;
  EXPECT_TRUE(load(ok, imageOf([&](Synth& s) {
    for (int i = 0; i < 6; ++i) firstVoice(s).addEffect(moduleType::kWaveshaper);
    while (firstVoice(s).oscillators.size() < 32) firstVoice(s).addOscillator();
  })));

  // Song section: channel index 16, pattern slot 255, tempo 0, step length 0.
  EXPECT_TRUE(refuses(withDefaultSetup(section(0x0103, 1, 0, {16, 1, 0, 0, 0})))) << "channel 16";
  EXPECT_TRUE(refuses(withDefaultSetup(section(0x0103, 0, 1, {255, 1, 0, 0, 0, 0, 0}))))
      << "slot 255";
  EXPECT_FALSE(refuses(withDefaultSetup(section(0x0103, 1, 1, {15, 1, 0, 0, 0, 254, 1, 0, 0, 0, 0, 0}))));
  auto noTempo = section(0x0103, 0, 0, {});
  noTempo[9] = 0;
  EXPECT_TRUE(refuses(withDefaultSetup(noTempo)));
  auto noStep = section(0x0103, 0, 0, {});
  noStep[11] = 0;
  EXPECT_TRUE(refuses(withDefaultSetup(noStep)));
  auto noMagic = section(0x0103, 0, 0, {});
  noMagic[0] = 'g';
  EXPECT_TRUE(refuses(withDefaultSetup(noMagic)));
  EXPECT_TRUE(refuses({}));
}

TEST(SongFile, LoadingAgainReplacesWhatWasLoadedBefore) {
  // Tools and the fuzz programs load into one synthesizer again and again: a
  // load must leave nothing of an earlier one, whole or damaged behind.
  const auto image = demoSongImage();
  Synth fresh;
  auto freshSong = load(fresh, image);
  ASSERT_TRUE(freshSong);

  Synth reused;
  Synth other;
  other.channels[3]->addLayer(5);
  other.channels[0]->layers[0][0]->addOscillator();
  ASSERT_TRUE(load(reused, writeSongFile(other, buildDemoSong())));
  std::vector<uint8_t> damaged(image.begin(), image.begin() + long(demoSetupSize() / 2));
  ASSERT_FALSE(load(reused, damaged));
  auto song = load(reused, image);
  ASSERT_TRUE(song);

  EXPECT_EQ(setupBytes(reused), setupBytes(fresh));
  for (int k = 0; k < Synth::kChannels; ++k) {
    const SynthChannel& a = *reused.channels[k];
    const SynthChannel& b = *fresh.channels[k];
    ASSERT_EQ(a.layers.size(), b.layers.size()) << "channel " << k;
    for (size_t l = 0; l < a.layers.size(); ++l) {
      EXPECT_EQ(a.layers[l].size(), b.layers[l].size()) << "channel " << k << " layer " << l;
      EXPECT_EQ(a.voiceCount[l], a.layers[l].size()) << "channel " << k << " layer " << l;
      EXPECT_EQ(a.stamps[l].size(), a.layers[l].size()) << "channel " << k << " layer " << l;
    }
  }
  platform::srand(1);
  auto a = renderSong(fresh, *freshSong, 0, 2, 1000, nullptr);
  platform::srand(1);
  auto b = renderSong(reused, *song, 0, 2, 1000, nullptr);
  ASSERT_EQ(a.blocks.size(), b.blocks.size());
  for (size_t i = 0; i < a.blocks.size(); ++i)
    ASSERT_EQ(0, std::memcmp(a.blocks[i], b.blocks[i], a.framesPerBlock * 4)) << "block " << i;
}

TEST(SongFile, CountsOfZeroStillReadOneRecordAndEmptySlotsStayEmpty) {
  // Save never writes a count of 0: patch them into a normal image.
  Synth source;
  source.channels[0]->clearLayers();
  Voice& only = *source.channels[0]->addLayer(1);
  only.envelope().attack = 9;
  only.oscillators[0]->detune = 0.25f;
  source.buses[0]->slots[1].reset();  // bus 1: chorus only
  auto bytes = setupBytes(source);
  // Channel 0 record: layer count, voice count, keyLow, keyHigh, modulator count.
  ASSERT_EQ(bytes[4 + 4], 1);
  bytes[4 + 4] = 0;
  const size_t oscillatorCount = 4 + 5 + 1 + 12;
  ASSERT_EQ(bytes[oscillatorCount], 1);
  bytes[oscillatorCount] = 0;
  bytes.insert(bytes.end(), {'G', 'O', 'A', 'T', 3, 1, 0, 0, 0, 125, 6, 16});
  Synth loaded;
  ASSERT_TRUE(load(loaded, bytes));
  const Voice& got = *loaded.channels[0]->layers[0][0];
  EXPECT_EQ(got.envelope().attack, 9);
  EXPECT_EQ(got.oscillators.size(), 1u);
  EXPECT_EQ(got.oscillators[0]->detune, 0.25f);
  EXPECT_TRUE(loaded.buses[0]->slots[0]);
  EXPECT_FALSE(loaded.buses[0]->slots[1]) << "absent slot emptied, not left at its default";
}

TEST(SongFile, LayersAskingForTooManyVoicesAreRefusedBeforeAnyIsBuilt) {
  // Channel k gets `layers` layers of one voice each; the voice counts are
  // then patched in the image, as a hostile file would write them.
  auto imageAsking = [](int channels, int layers, uint8_t voicesPerLayer) {
    Synth source;
    for (int k = 0; k < channels; ++k) {
      source.channels[k]->clearLayers();
      for (int l = 0; l < layers; ++l) source.channels[k]->addLayer(1);
    }
    auto bytes = setupBytes(source);
    // After the start marker, each channel's record: its layer count, then
    // the voice counts.
    size_t at = 4;
    for (int k = 0; k < channels; ++k) {
      for (int l = 0; l < layers; ++l) bytes[at + 1 + size_t(l)] = voicesPerLayer;
      std::vector<uint8_t> record;
      DataStream sink(&record);
      source.channels[k]->save(sink);
      at += record.size();
    }
    bytes.insert(bytes.end(), {'G', 'O', 'A', 'T', 3, 1, 0, 0, 0, 125, 6, 16});
    return bytes;
  };
  static_assert(SynthChannel::kMaxLoadedVoices == 16 * 4 * 256, "the sizes below");

  // 16 channels of 4 layers of 255 voices: 16,320, within the limit.
  Synth within;
  ASSERT_TRUE(load(within, imageAsking(16, 4, 255)));
  size_t built = 0;
  for (auto& channel : within.channels)
    for (auto& voices : channel->layers) built += voices.size();
  EXPECT_EQ(built, 16u * 4 * 255);

  // One channel of 255 layers of 255 voices, and the limit passed only by
  // the last channel: refused as a damaged set-up.
  for (const auto& image : {imageAsking(1, 255, 255), imageAsking(16, 5, 205)}) {
    Synth beyond;
    const SongLoadResult result = loadQuietly(beyond, image);
    EXPECT_FALSE(result.song);
    EXPECT_EQ(result.error, SongLoadError::kSetupDamaged);
  }
}

TEST(DataStream, FileModeReadsWhatWasWrittenAndSinkMatchesIt) {
  FILE* file = std::tmpfile();
  ASSERT_TRUE(file);
  const int fd = fileno(file);
  DataStream out(fd);
  out.writeInt(0x12345678, 4);
  out.writeInt(0xABCD, 2);
  out.writeFloat(-1.5f);
  EXPECT_EQ(out.tell(), 10u);
  std::vector<uint8_t> sunk;
  DataStream sink(&sunk);
  sink.writeInt(0x12345678, 4);
  sink.writeInt(0xABCD, 2);
  sink.writeFloat(-1.5f);
  ASSERT_EQ(sunk.size(), 10u);
  EXPECT_EQ(sunk[0], 0x78);

  std::rewind(file);
  DataStream in(fd);
  EXPECT_EQ(in.readInt(4), 0x12345678u);
  EXPECT_EQ(in.readInt(2), 0xABCDu);
  EXPECT_EQ(in.readFloat(), -1.5f);
  EXPECT_FALSE(in.failed());
  EXPECT_EQ(in.readInt(1), 0u);
  EXPECT_TRUE(in.failed()) << "reading past the end";
  std::fclose(file);

  DataStream memory(sunk.data(), sunk.size());
  EXPECT_EQ(memory.readInt(3), 0x345678u);
  EXPECT_EQ(memory.tell(), 3u);
  EXPECT_EQ(memory.readInt(4), 0x00ABCD12u);
  EXPECT_FALSE(memory.failed());
  EXPECT_EQ(memory.readInt(4), 0u) << "3 bytes remain";
  EXPECT_TRUE(memory.failed());
  EXPECT_EQ(memory.tell(), 10u);
}

// The demo song's sound, pinned: any change to the arithmetic of a module
// shows here. Update the figure only for an intended change of the sound.
TEST(SongFile, DemoSongSoundsAsBefore) {
  const auto image = demoSongImage();
  Synth synth;
  auto song = load(synth, image);
  ASSERT_TRUE(song);
  platform::srand(1);
  auto rendered = renderSong(synth, *song, 0, 5, 10000, nullptr);
  uint64_t hash = 14695981039346656037ull;
  double energy = 0;
  for (const int16_t* block : rendered.blocks)
    for (uint32_t i = 0; i < rendered.framesPerBlock * 2; ++i) {
      hash = (hash ^ uint16_t(block[i])) * 1099511628211ull;
      energy += double(block[i]) * block[i];
    }
  const double rms = std::sqrt(energy / (rendered.blocks.size() * rendered.framesPerBlock * 2.0));
  EXPECT_GT(rms, 50.0);
  EXPECT_LT(rms, 12000.0);
  EXPECT_EQ(hash, 14408207559501097655ull) << std::hex << hash << std::dec << " rms " << rms;
}
