// The CLAP module through its clap_entry, as a CLAP host loads it: the
// descriptor, the parameters and the latency a host reads, notes in CLAP's
// own events and as MIDI, sound out after the latency, and deactivation.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "plugin/ClapHost.h"

namespace {

const std::string kModule = KYL_BINARY_DIR "/clap/kylvander-synth.clap";
constexpr uint32_t kTick = 1215;  // brumtakt's

double rms(const std::vector<float>& x, size_t from, size_t to) {
  double sum = 0.0;
  for (size_t i = from; i < to; ++i) sum += double(x[i]) * x[i];
  return std::sqrt(sum / double(to - from));
}

TEST(ClapPlugin, DescribesItselfAndItsParameters) {
  ClapHost host(kModule, 44100, 512);
  const clap_plugin_descriptor_t* d = host.descriptor();
  EXPECT_STREQ(d->id, "kylvander.synth");
  EXPECT_STREQ(d->name, "Kylvander Synth");
  EXPECT_STREQ(d->vendor, "Kylvander");
  std::vector<std::string> features;
  for (const char* const* f = d->features; f && *f; ++f) features.push_back(*f);
  EXPECT_EQ(features, (std::vector<std::string>{"instrument", "synthesizer", "stereo"}));

  const auto* params = host.extension<clap_plugin_params_t>(CLAP_EXT_PARAMS);
  ASSERT_NE(params, nullptr);
  ASSERT_EQ(params->count(host.plugin()), 43u);
  std::vector<std::string> names;
  for (uint32_t i = 0; i < 43; ++i) {
    clap_param_info_t info{};
    ASSERT_TRUE(params->get_info(host.plugin(), i, &info));
    names.push_back(info.name);
    double value = -1.0;
    ASSERT_TRUE(params->get_value(host.plugin(), info.id, &value));
    EXPECT_EQ(value, info.default_value) << info.name;
  }
  EXPECT_EQ(names.front(), "Master volume");
  EXPECT_EQ(names[2], "Channel 0 volume");
  EXPECT_EQ(names[41], "Channel 7 send3");
  EXPECT_EQ(names.back(), "Set-up status");
  // What a host shows of the status: its value's name.
  clap_param_info_t status{};
  ASSERT_TRUE(params->get_info(host.plugin(), 42, &status));
  EXPECT_TRUE(status.flags & CLAP_PARAM_IS_READONLY);
  char text[CLAP_NAME_SIZE] = {};
  ASSERT_TRUE(params->value_to_text(host.plugin(), status.id, 2.0, text, sizeof text));
  EXPECT_STREQ(text, "file not loaded, previous set-up playing");

  const auto* latency = host.extension<clap_plugin_latency_t>(CLAP_EXT_LATENCY);
  ASSERT_NE(latency, nullptr);
  EXPECT_EQ(latency->get(host.plugin()), kTick);
}

TEST(ClapPlugin, PlaysNotesAfterItsLatencyAndDeactivates) {
  ClapHost host(kModule, 44100, 512);
  std::vector<float> left(44100), right(44100);
  // The kick (channel 0) by a CLAP note event, the pad (channel 4) by MIDI.
  host.note(0, true, 60, 0.8);
  const uint8_t padOn[3] = {0x94, 69, 110};
  host.midi(0, padOn);
  for (uint32_t done = 0; done < left.size(); done += 441)
    EXPECT_EQ(host.process(441, left.data() + done, right.data() + done), CLAP_PROCESS_CONTINUE);
  EXPECT_EQ(rms(left, 0, kTick), 0.0) << "nothing before the latency";
  EXPECT_GT(rms(left, kTick, 22050), 0.001);
  EXPECT_GT(rms(right, kTick, 22050), 0.001);

  host.note(0, false, 60, 0.0);
  const uint8_t padOff[3] = {0x84, 69, 0};
  host.midi(0, padOff);
  for (int second = 0; second < 4; ++second)
    for (uint32_t done = 0; done < left.size(); done += 441)
      host.process(441, left.data() + done, right.data() + done);
  EXPECT_LT(rms(left, 0, left.size()), 1e-4) << "released notes die away";
  host.deactivate();
  EXPECT_EQ(host.latencyChanges(), 1) << "told once, of the set-up's tick";
}

}  // namespace
