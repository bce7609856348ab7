// Every module kind's record as its parameter description reads and writes
// it, for every kind the families' registries hold: the record's length,
// load then save giving the same bytes, a copy keeping every parameter, and
// fields at their offsets. Then what the registries promise the loader and
// the builders, and the mixer strip reached by index.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "synth/Chorus.h"
#include "synth/DataStream.h"
#include "synth/Delay.h"
#include "synth/FieldVisitor.h"
#include "synth/Filter.h"
#include "synth/Lfo.h"
#include "synth/MixerStrip.h"
#include "synth/Oscillator.h"
#include "synth/SendEffect.h"
#include "synth/Synth.h"
#include "synth/Voice.h"
#include "synth/Waveshaper.h"

namespace {

// A record's length and where its flag bytes stand, from its description.
struct RecordShape {
  size_t length = 0;
  std::vector<size_t> flags;
};

RecordShape shapeOf(SynthModule& module) {
  struct Measure final : FieldVisitor {
    RecordShape shape;
    void add(const Parameter& parameter) { shape.length += size_t(parameter.bytes); }
    void real(const Parameter& p, float&) override { add(p); }
    void flag(const Parameter& p, bool&) override {
      shape.flags.push_back(shape.length);
      add(p);
    }
    void route(const Parameter& p, ModulationRoute&) override { add(p); }
    void integer(const Parameter& p, long&) override { add(p); }
  } measure;
  module.visitFields(measure);
  return measure.shape;
}

// A record of the given shape whose bytes all differ from the defaults;
// flag bytes hold 1, and no float is infinite or not a number.
std::vector<uint8_t> distinctRecord(const RecordShape& shape) {
  std::vector<uint8_t> record(shape.length);
  for (size_t i = 0; i < shape.length; ++i) record[i] = uint8_t(0x11 + 5 * i) & 0x6F;
  for (size_t at : shape.flags) record[at] = 1;
  return record;
}

std::vector<uint8_t> saved(SynthModule& module) {
  std::vector<uint8_t> out;
  DataStream sink(&out);
  module.save(sink);
  return out;
}

void loadRecord(SynthModule& module, const std::vector<uint8_t>& record) {
  DataStream in(record.data(), record.size());
  module.load(in);
  EXPECT_FALSE(in.failed());
  EXPECT_EQ(in.tell(), record.size()) << "the record is read to its end and no further";
}

// Every kind of every family, and the oscillator (no family: no type byte).
struct Kind {
  std::string keyword;
  uint32_t type;
  std::function<std::unique_ptr<SynthModule>()> create;
};

std::vector<Kind> everyKind() {
  std::vector<Kind> kinds;
  auto add = [&](const auto& family) {
    for (const auto& kind : family)
      kinds.push_back({kind.keyword, kind.type,
                       [&kind] { return std::unique_ptr<SynthModule>(kind.create()); }});
  };
  add(modulatorKinds());
  add(voiceEffectKinds());
  add(sendEffectKinds());
  kinds.push_back({"oscillator", moduleType::kNone, [] { return std::make_unique<Oscillator>(); }});
  return kinds;
}

}  // namespace

TEST(ModuleRecords, EveryKindRoundTripsAndCopiesAndKnownLengthsStay) {
  // The lengths the song file format has always had; a new kind only needs
  // its description.
  const std::map<std::string, size_t> formatLengths = {
      {"envelope", 12}, {"lfo", 14},       {"follower", 5}, {"oscillator", 55},
      {"filter", 29},   {"waveshaper", 9}, {"delay", 24},   {"chorus", 25}};
  std::set<std::string> seen;
  for (const Kind& kind : everyKind()) {
    SCOPED_TRACE(kind.keyword);
    seen.insert(kind.keyword);
    const std::unique_ptr<SynthModule> loaded = kind.create();
    EXPECT_EQ(loaded->type, kind.type) << "the module carries its row's type byte";
    const RecordShape shape = shapeOf(*loaded);
    const auto known = formatLengths.find(kind.keyword);
    if (known != formatLengths.end()) {
      EXPECT_EQ(shape.length, known->second);
    }

    const auto record = distinctRecord(shape);
    loadRecord(*loaded, record);
    EXPECT_EQ(saved(*loaded), record) << "saved back";
    const std::unique_ptr<SynthModule> copy = kind.create();
    copy->copyParametersFrom(*loaded);
    EXPECT_EQ(saved(*copy), record) << "copied";
  }
  for (const auto& [keyword, length] : formatLengths) EXPECT_TRUE(seen.count(keyword)) << keyword;
}

TEST(ModuleRecords, RegistriesNameEachKindOnce) {
  std::set<std::string> keywords;
  for (const Kind& kind : everyKind())
    EXPECT_TRUE(keywords.insert(kind.keyword).second) << kind.keyword << " twice";
  // Within a family the type byte alone says which kind follows.
  auto distinctTypes = [](const auto& family) {
    std::set<uint32_t> types;
    for (const auto& kind : family) {
      EXPECT_NE(kind.type, moduleType::kNone) << kind.keyword;
      EXPECT_TRUE(types.insert(kind.type).second) << kind.keyword;
      EXPECT_EQ(family.find(kind.keyword), &kind);
      EXPECT_EQ(family.find(kind.type), &kind);
    }
  };
  distinctTypes(modulatorKinds());
  distinctTypes(voiceEffectKinds());
  distinctTypes(sendEffectKinds());
}

TEST(ModuleRecords, FieldsStandAtTheirOffsetsAndFlagsReadByKind) {
  Oscillator probe;
  auto record = distinctRecord(shapeOf(probe));
  record[9] = 0xFE;  // transpose -2
  record[15] = 7;    // sync: any byte but 0 is true
  Oscillator oscillator;
  loadRecord(oscillator, record);
  EXPECT_EQ(oscillator.multiplier, record[8]);
  EXPECT_EQ(oscillator.transpose, -2);
  EXPECT_TRUE(oscillator.sync);
  EXPECT_EQ(oscillator.routes[5].source, record[50]);

  Lfo lfo;
  auto lfoRecord = distinctRecord(shapeOf(lfo));
  lfoRecord[12] = 0x34;
  lfoRecord[13] = 0x12;
  loadRecord(lfo, lfoRecord);
  EXPECT_EQ(lfo.period, 0x1234) << "two bytes, low first";

  // Filter and chorus flags are true only for the byte 1.
  Filter filter;
  auto filterRecord = distinctRecord(shapeOf(filter));
  filterRecord[1] = 2;
  loadRecord(filter, filterRecord);
  EXPECT_FALSE(filter.singleStage);
  EXPECT_EQ(filter.scaling.source, filterRecord[24]);

  Delay delay;
  const auto delayRecord = distinctRecord(shapeOf(delay));
  loadRecord(delay, delayRecord);
  EXPECT_EQ(delay.delayRight, delayRecord[10]);
}

TEST(ModuleRecords, CopyingFromAnotherKindChangesNothing) {
  Filter filter;
  filter.cutoff = 0.5f;
  Waveshaper shaper;
  const auto before = saved(filter);
  filter.copyParametersFrom(shaper);
  EXPECT_EQ(saved(filter), before);
}

// A voice built in code by type byte takes only the kinds its families
// have: any other type is refused with the voice unchanged, never replaced
// by some other kind.
TEST(VoiceBuilders, TypesTheFamilyLacksAreRefusedAndChangeNothing) {
  auto savedVoice = [](Voice& voice) { return saved(voice); };
  // type, whether it is a modulator kind, whether it is a voice effect kind
  const struct {
    uint32_t type;
    bool modulator, effect;
  } cases[] = {{0, false, false}, {1, true, false},  {2, true, false},    {3, true, false},
               {4, false, false}, {5, false, true},  {6, false, true},    {7, false, false},
               {8, false, false}, {9, false, false}, {255, false, false}, {257, false, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "type " << c.type);
    Voice voice;
    const auto before = savedVoice(voice);
    Modulator* modulator = voice.addModulator(c.type);
    EXPECT_EQ(modulator != nullptr, c.modulator);
    if (modulator) {
      EXPECT_EQ(modulator->type, c.type);
      EXPECT_EQ(voice.modulators.back().get(), modulator);
    }
    VoiceEffect* effect = voice.addEffect(c.type);
    EXPECT_EQ(effect != nullptr, c.effect);
    if (effect) {
      EXPECT_EQ(effect->type, c.type);
    }
    if (!c.modulator && !c.effect) {
      EXPECT_EQ(savedVoice(voice), before);
    }
  }

  // A copy never holds another kind in place of one its family lacks (a
  // type changed by hand): its list ends before it.
  Voice source;
  source.addModulator<Lfo>();
  source.addModulator<Lfo>().type = 4;
  source.addEffect<Waveshaper>().type = 7;
  Voice copy;
  copy.copyFrom(source);
  ASSERT_EQ(copy.modulators.size(), 2u);
  EXPECT_EQ(copy.modulators[1]->type, moduleType::kLfo);
  ASSERT_EQ(copy.effects.size(), 1u);
  EXPECT_EQ(copy.effects[0]->type, moduleType::kFilter);
}

// The mixer strip by index: names and ranges in the records' order, values
// that land in the Synth's own fields and travel through a saved set-up.
TEST(MixerStrip, ByIndexReachesTheFieldsTheSetupSaves) {
  const char* names[] = {"volume", "pan", "send1", "send2", "send3"};
  ASSERT_EQ(MixerStrip::count(), 5);
  for (int i = 0; i < MixerStrip::count(); ++i) {
    EXPECT_STREQ(MixerStrip::parameter(i).name, names[i]);
    EXPECT_EQ(MixerStrip::parameter(i).low, 0.0f);
    EXPECT_GT(MixerStrip::parameter(i).high, 0.0f);
  }
  EXPECT_EQ(MixerStrip::parameter(0).high, 8.0f);
  EXPECT_EQ(MixerStrip::parameter(1).high, 1.0f);

  Synth synth;
  EXPECT_EQ(MixerStrip::get(synth, 3, 0), 1.0f);
  EXPECT_EQ(MixerStrip::get(synth, 3, 1), 0.5f);
  const float values[] = {2.5f, 0.25f, 0.125f, 0.375f, 0.75f};
  for (int i = 0; i < 5; ++i) MixerStrip::set(synth, 3, i, values[i]);
  EXPECT_EQ(synth.volume[3], 2.5f);
  EXPECT_EQ(synth.pan[3], 0.25f);
  EXPECT_EQ(synth.send1[3], 0.125f);
  EXPECT_EQ(synth.send2[3], 0.375f);
  EXPECT_EQ(synth.send3[3], 0.75f);
  EXPECT_EQ(synth.volume[2], 1.0f) << "other channels keep theirs";

  // Out of range: nothing read, nothing set.
  MixerStrip::set(synth, 16, 0, 9.0f);
  MixerStrip::set(synth, -1, 0, 9.0f);
  MixerStrip::set(synth, 3, 5, 9.0f);
  EXPECT_EQ(MixerStrip::get(synth, 16, 0), 0.0f);
  EXPECT_EQ(MixerStrip::get(synth, 3, -1), 0.0f);

  std::vector<uint8_t> image;
  DataStream sink(&image);
  synth.save(sink);
  Synth loaded;
  DataStream in(image.data(), image.size());
  EXPECT_TRUE(loaded.loadSetup(in));
  for (int k = 0; k < Synth::kChannels; ++k)
    for (int i = 0; i < MixerStrip::count(); ++i)
      EXPECT_EQ(MixerStrip::get(loaded, k, i), MixerStrip::get(synth, k, i)) << k << " " << i;
}
