// Every module kind's record as its parameter description reads and writes
// it: the record's length, load then save giving the same bytes, a copy
// keeping every parameter, and fields at their offsets.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "synth/Chorus.h"
#include "synth/ControllerFollower.h"
#include "synth/DataStream.h"
#include "synth/Delay.h"
#include "synth/Envelope.h"
#include "synth/Filter.h"
#include "synth/Lfo.h"
#include "synth/Oscillator.h"
#include "synth/Waveshaper.h"

namespace {

// A record of the given length whose bytes all differ from the defaults;
// flag bytes hold 1, and no float is infinite or not a number.
std::vector<uint8_t> distinctRecord(size_t length, std::initializer_list<size_t> flags) {
  std::vector<uint8_t> record(length);
  for (size_t i = 0; i < length; ++i) record[i] = uint8_t(0x11 + 5 * i) & 0x6F;
  for (size_t at : flags) record[at] = 1;
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

template <class Module>
void checkRecord(size_t length, std::initializer_list<size_t> flags) {
  const auto record = distinctRecord(length, flags);
  Module loaded;
  loadRecord(loaded, record);
  EXPECT_EQ(saved(loaded), record) << "saved back";
  Module copy;
  copy.copyParametersFrom(loaded);
  EXPECT_EQ(saved(copy), record) << "copied";
}

}  // namespace

TEST(ModuleRecords, LengthsRoundTripsAndCopies) {
  checkRecord<Envelope>(12, {11});
  checkRecord<Lfo>(14, {1, 7});
  checkRecord<ControllerFollower>(5, {});
  checkRecord<Oscillator>(55, {15});
  checkRecord<Filter>(29, {1});
  checkRecord<Waveshaper>(9, {});
  checkRecord<Delay>(24, {});
  checkRecord<Chorus>(25, {24});
}

TEST(ModuleRecords, FieldsStandAtTheirOffsetsAndFlagsReadByKind) {
  auto record = distinctRecord(55, {15});
  record[9] = 0xFE;  // transpose -2
  record[15] = 7;    // sync: any byte but 0 is true
  Oscillator oscillator;
  loadRecord(oscillator, record);
  EXPECT_EQ(oscillator.multiplier, record[8]);
  EXPECT_EQ(oscillator.transpose, -2);
  EXPECT_TRUE(oscillator.sync);
  EXPECT_EQ(oscillator.routes[5].source, record[50]);

  auto lfoRecord = distinctRecord(14, {1, 7});
  lfoRecord[12] = 0x34;
  lfoRecord[13] = 0x12;
  Lfo lfo;
  loadRecord(lfo, lfoRecord);
  EXPECT_EQ(lfo.period, 0x1234) << "two bytes, low first";

  // Filter and chorus flags are true only for the byte 1.
  auto filterRecord = distinctRecord(29, {1});
  filterRecord[1] = 2;
  Filter filter;
  loadRecord(filter, filterRecord);
  EXPECT_FALSE(filter.singleStage);
  EXPECT_EQ(filter.scaling.source, filterRecord[24]);

  Delay delay;
  loadRecord(delay, distinctRecord(24, {}));
  EXPECT_EQ(delay.delayRight, distinctRecord(24, {})[10]);
}

TEST(ModuleRecords, CopyingFromAnotherKindChangesNothing) {
  Filter filter;
  filter.cutoff = 0.5f;
  Waveshaper shaper;
  const auto before = saved(filter);
  filter.copyParametersFrom(shaper);
  EXPECT_EQ(saved(filter), before);
}
