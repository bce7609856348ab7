// The song compiler at the edges of what it takes: every limit from both
// sides (the last value that compiles, with the value it compiles to, and
// the first that is refused, with where and why), and every form a number
// may take. An off-by-one in a check, or a number read in another base,
// changes a row here.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "songc/SongCompiler.h"
#include "synth/Delay.h"
#include "synth/Lfo.h"

namespace {

using Reader = std::function<double(const CompiledSong&)>;

// Sources around one statement, each with the line the statement stands on.
std::string envelopeWith(const std::string& settings) {  // line 3
  return "channel 0\n  layer\n    envelope " + settings + "\n    oscillator\n  end\nend\n";
}
std::string lfoWith(const std::string& settings) {  // line 4
  return "channel 0\n  layer\n    envelope\n    lfo " + settings + "\n    oscillator\n  end\nend\n";
}
std::string oscillatorWith(const std::string& settings) {  // line 4
  return "channel 0\n  layer\n    envelope\n    oscillator " + settings + "\n  end\nend\n";
}
std::string layerWith(const std::string& settings) {  // line 2
  return "channel 0\n  layer " + settings + "\n    envelope\n    oscillator\n  end\nend\n";
}
std::string channelWith(const std::string& head) {  // line 1
  return "channel " + head + "\n  layer\n    envelope\n    oscillator\n  end\nend\n";
}
// The envelope at line 3, then the LFOs, the oscillators and the filters.
std::string voiceOf(int lfos, int oscillators, int filters) {
  std::string source = "channel 0\n  layer\n    envelope\n";
  for (int i = 0; i < lfos; ++i) source += "    lfo\n";
  for (int i = 0; i < oscillators; ++i) source += "    oscillator\n";
  for (int i = 0; i < filters; ++i) source += "    filter\n";
  return source + "  end\nend\n";
}
std::string rowOf(const std::string& row) { return "pattern p\n  " + row + "\nend\n"; }  // line 2
std::string stepWith(const std::string& words) {                                         // line 5
  return "pattern p\n  C-4\nend\norder 0\n  0 p " + words + "\nend\n";
}
std::string columns(int count) {
  std::string row = "C-4";
  for (int i = 1; i < count; ++i) row += " | C-4";
  return row;
}

const Voice& voice(const CompiledSong& out) { return *out.synth->channels[0]->layers[0][0]; }
const Envelope& envelope(const CompiledSong& out) { return voice(out).envelope(); }
const Oscillator& oscillator(const CompiledSong& out) { return *voice(out).oscillators[0]; }
const Lfo& lfo(const CompiledSong& out) {
  return static_cast<const Lfo&>(*voice(out).modulators[1]);
}
const OrderStep& step0(const CompiledSong& out) { return out.song->orderLists[0].steps[0]; }

const Reader decay = [](const CompiledSong& out) { return double(envelope(out).decay); };
const Reader sustain = [](const CompiledSong& out) { return double(envelope(out).sustain); };
const Reader transpose = [](const CompiledSong& out) { return double(oscillator(out).transpose); };

struct Limit {
  std::string accepted;
  Reader read;
  double value;  // what read gives for the accepted source
  std::string refused;
  int line;             // where the refusal is reported
  const char* message;  // a part of its message
};

const Limit kLimits[] = {
    // The song header.
    {"song tempo=255\n", [](auto& o) { return double(o.song->tempo); }, 255, "song tempo=256\n", 1,
     "tempo=256: must be from 1 to 255"},
    {"song tempo=1\n", [](auto& o) { return double(o.song->tempo); }, 1, "song tempo=0\n", 1,
     "must be from 1 to 255"},
    {"song stepLength=1\n", [](auto& o) { return double(o.song->ticksPerStep); }, 16,
     "song stepLength=0\n", 1, "must be from 1 to 255"},
    {"song length=1\n", [](auto& o) { return double(o.song->orderLists[5].length); }, 1,
     "song length=0\n", 1, "length=0: must be from 1 to 65535"},
    {"song length=65535\n", [](auto& o) { return double(o.song->orderLists[0].length); }, 65535,
     "song length=65536\n", 1, "must be from 1 to 65535"},
    // Channels, their mixer strips, layers and voices.
    {channelWith("15"), [](auto& o) { return double(o.synth->channels[15]->layerCount); }, 1,
     channelWith("16"), 1, "a channel number must be from 0 to 15, found '16'"},
    {channelWith("0 volume=8"), [](auto& o) { return double(o.synth->volume[0]); }, 8,
     channelWith("0 volume=8.5"), 1, "volume=8.5: must be from 0 to 8"},
    {channelWith("0 pan=1"), [](auto& o) { return double(o.synth->pan[0]); }, 1,
     channelWith("0 pan=1.5"), 1, "pan=1.5: must be from 0 to 1"},
    {channelWith("0 pan=0"), [](auto& o) { return double(o.synth->pan[0]); }, 0,
     channelWith("0 pan=-0.5"), 1, "must be from 0 to 1"},
    {channelWith("0 send3=1"), [](auto& o) { return double(o.synth->send3[0]); }, 1,
     channelWith("0 send3=1.25"), 1, "send3=1.25: must be from 0 to 1"},
    {layerWith("voices=255"), [](auto& o) { return double(o.synth->channels[0]->voiceCount[0]); },
     255, layerWith("voices=256"), 2, "voices=256: must be from 1 to 255"},
    {layerWith("voices=1"), [](auto& o) { return double(o.synth->channels[0]->voiceCount[0]); }, 1,
     layerWith("voices=0"), 2, "must be from 1 to 255"},
    {layerWith("keyHigh=255"), [](auto& o) { return double(voice(o).keyHigh); }, 255,
     layerWith("keyHigh=256"), 2, "keyHigh=256: must be from 0 to 255"},
    // Module fields.
    {envelopeWith("decay=255"), decay, 255, envelopeWith("decay=256"), 3,
     "decay=256: must be from 0 to 255"},
    {envelopeWith("attack=0"), [](auto& o) { return double(envelope(o).attack); }, 0,
     envelopeWith("attack=-1"), 3, "attack=-1: must be from 0 to 255"},
    {lfoWith("period=65535"), [](auto& o) { return double(lfo(o).period); }, 65535,
     lfoWith("period=65536"), 4, "period=65536: must be from 1 to 65535"},
    {lfoWith("period=1"), [](auto& o) { return double(lfo(o).period); }, 1, lfoWith("period=0"), 4,
     "must be from 1 to 65535"},
    {lfoWith("waveform=5"), [](auto& o) { return double(lfo(o).waveform); }, 5,
     lfoWith("waveform=6"), 4,
     "expected one of sine, saw, square, triangle, random, smooth (or a number 0 to 5)"},
    {oscillatorWith("transpose=127"), transpose, 127, oscillatorWith("transpose=128"), 4,
     "must be from -128 to 127"},
    {oscillatorWith("transpose=-128"), transpose, -128, oscillatorWith("transpose=-129"), 4,
     "must be from -128 to 127"},
    {oscillatorWith("waveform=5"), [](auto& o) { return double(oscillator(o).waveform); }, 5,
     oscillatorWith("waveform=6"), 4, "(or a number 0 to 5)"},
    {oscillatorWith("pitch=255:1"), [](auto& o) { return double(oscillator(o).routes[2].source); },
     255, oscillatorWith("pitch=256:1"), 4, "pitch=256:1: a modulator index is 0 to 255"},
    {oscillatorWith("sync=1"), [](auto& o) { return double(oscillator(o).sync); }, 1,
     oscillatorWith("sync=2"), 4, "sync=2: expected yes or no"},
    // Counts of modules in a voice: the statement past the limit is refused.
    {voiceOf(254, 1, 0), [](auto& o) { return double(voice(o).modulators.size()); }, 255,
     voiceOf(255, 1, 0), 3 + 255, "a voice has at most 255 modulators"},
    {voiceOf(0, 32, 0), [](auto& o) { return double(voice(o).oscillators.size()); }, 32,
     voiceOf(0, 33, 0), 3 + 33, "a voice has at most 32 oscillators"},
    {voiceOf(0, 1, 8), [](auto& o) { return double(voice(o).effects.size()); }, 8, voiceOf(0, 1, 9),
     4 + 9, "a voice has at most 8 effects"},
    // Send buses.
    {"bus 3\nend\n", [](auto& o) { return double(o.synth->buses[2]->slots[0] != nullptr); }, 0,
     "bus 4\nend\n", 1, "a bus number must be from 1 to 3, found '4'"},
    {"bus 1\nend\n", [](auto& o) { return double(o.synth->buses[0]->slots[0] != nullptr); }, 0,
     "bus 0\nend\n", 1, "a bus number must be from 1 to 3, found '0'"},
    {"bus 1\n  empty\n  empty\n  chorus\nend\n",
     [](auto& o) { return double(o.synth->buses[0]->slots[2]->type); }, moduleType::kChorus,
     "bus 1\n  empty\n  empty\n  chorus\n  empty\nend\n", 5, "a bus has 3 slots"},
    {"bus 1\n  delay delayLeft=64 loopLeft=64\nend\n",
     [](auto& o) {
       return double(static_cast<const Delay&>(*o.synth->buses[0]->slots[0]).loopLeft);
     },
     64, "bus 1\n  delay delayLeft=64 loopLeft=65\nend\n", 2,
     "a delay's delay plus loop must not exceed 128 blocks on either side"},
    {"bus 1\n  delay delayRight=128 loopRight=0\nend\n",
     [](auto& o) {
       return double(static_cast<const Delay&>(*o.synth->buses[0]->slots[0]).delayRight);
     },
     128, "bus 1\n  delay delayRight=129 loopRight=0\nend\n", 2,
     "delayRight=129: must be from 0 to 128"},
    // Pattern rows.
    {rowOf(columns(16)), [](auto& o) { return double(o.song->patterns[1].rows[0].cells[15].note); },
     37, rowOf(columns(17)), 2, "a row has at most 16 columns"},
    {rowOf("C-4 7F 10 80"),
     [](auto& o) { return double(o.song->patterns[1].rows[0].cells[0].argument); }, 0x80,
     rowOf("C-4 7F 10 80 00"), 2, "found a fifth word '00'"},
    {rowOf("n254"), [](auto& o) { return double(o.song->patterns[1].rows[0].cells[0].note); }, 254,
     rowOf("n255"), 2, "expected a row"},
    {rowOf("C-4 01"), [](auto& o) { return double(o.song->patterns[1].rows[0].cells[0].velocity); },
     1, rowOf("C-4 00"), 2, "a note needs a velocity above 00"},
    {rowOf("C-1"), [](auto& o) { return double(o.song->patterns[1].rows[0].cells[0].note); }, 1,
     rowOf("Cb1"), 2, "expected a row"},
    {"pattern p slot=254\n  C-4\nend\n",
     [](auto& o) { return double(o.song->patterns[254].rowCount); }, 1,
     "pattern p slot=255\n  C-4\nend\n", 1, "slot=255: must be from 1 to 254"},
    {"pattern p rows=65535\n  C-4\nend\n",
     [](auto& o) { return double(o.song->patterns[1].rowCount); }, 65535,
     "pattern p rows=65536\n  C-4\nend\n", 1, "rows=65536: must be from 1 to 65535"},
    {"phrase a\n  C-4\nend\npattern p\n  use a*256\nend\n",
     [](auto& o) { return double(o.song->patterns[1].rowCount); }, 256,
     "phrase a\n  C-4\nend\npattern p\n  use a*257\nend\n", 5,
     "a repeat count after '*' is 1 to 256"},
    // Order steps and controllers.
    {stepWith("+127"), [](auto& o) { return double(step0(o).transpose); }, 127, stepWith("+128"), 5,
     "a transpose is -128 to 127"},
    {stepWith("transpose=-128"), [](auto& o) { return double(step0(o).transpose); }, -128,
     stepWith("transpose=-129"), 5, "transpose=-129: must be from -128 to 127"},
    {stepWith("slide=7:0..255"), [](auto& o) { return double(step0(o).slideA.to); }, 255,
     stepWith("slide=7:0..256"), 5, "slide values are 0 to 255"},
    {"controller c 254\n" + stepWith("slide=c:1..2"),
     [](auto& o) { return double(step0(o).slideA.controller); }, 254,
     "controller c 255\n" + stepWith("slide=c:1..2"), 1, "a controller number is 1 to 254"},
    {"controller c 1\n", nullptr, 0, "controller c 0\n", 1, "a controller number is 1 to 254"},
    {"pattern p\n  C-4\nend\norder 0\n  65534 p\nend\n",
     [](auto& o) { return double(o.song->orderLists[0].steps[65534].pattern); }, 1,
     "pattern p\n  C-4\nend\norder 0\n  65535 p\nend\n", 5, "expected an order position"},
};

// Each number form and what it compiles to: decimal whatever its leading
// zeros (never octal), hexadecimal with 0x, reals in any form strtof reads.
const struct {
  std::string source;
  Reader read;
  double value;
} kNumbers[] = {
    {envelopeWith("decay=8"), decay, 8},
    {envelopeWith("decay=08"), decay, 8},
    {envelopeWith("decay=010"), decay, 10},
    {envelopeWith("decay=00"), decay, 0},
    {envelopeWith("decay=+7"), decay, 7},
    {envelopeWith("decay=0x10"), decay, 16},
    {envelopeWith("decay=0X1f"), decay, 31},
    {oscillatorWith("transpose=-08"), transpose, -8},
    {oscillatorWith("transpose=-010"), transpose, -10},
    {oscillatorWith("transpose=-0x10"), transpose, -16},
    {envelopeWith("sustain=.5"), sustain, 0.5},
    {envelopeWith("sustain=1e-1"), sustain, double(0.1f)},
    {envelopeWith("sustain=-0.25"), sustain, -0.25},
    {envelopeWith("sustain=0x1p-2"), sustain, 0.25},
    {envelopeWith("sustain=007"), sustain, 7},
    {rowOf("C-4 7f"), [](auto& o) { return double(o.song->patterns[1].rows[0].cells[0].velocity); },
     0x7F},
    {"controller c 0x10\n" + stepWith("slide=c:010..0x10"),
     [](auto& o) { return double(step0(o).slideA.controller * 1000 + step0(o).slideA.from); },
     16 * 1000 + 10},
};

// Words that are no number, each refused at its line.
const struct {
  std::string source;
  const char* message;
} kNotNumbers[] = {
    {envelopeWith("decay=8.0"), "decay=8.0: expected a whole number"},
    {envelopeWith("decay=1e1"), "expected a whole number"},
    {envelopeWith("decay=0x"), "expected a whole number"},
    {envelopeWith("decay=08x"), "expected a whole number"},
    {envelopeWith("decay="), "expected a whole number"},
    {envelopeWith("decay=eight"), "expected a whole number"},
    {envelopeWith("sustain=inf"), "sustain=inf: expected a number"},
    {envelopeWith("sustain=nan"), "expected a number"},
    {envelopeWith("sustain=1e39"), "expected a number"},
    {envelopeWith("sustain=0.5x"), "expected a number"},
};

std::string messageFor(const std::string& source) {
  try {
    compileSong(SourceText::fromString("bad.song", source));
  } catch (const SourceError& error) {
    return error.what();
  }
  return "(no error)";
}

CompiledSong compiled(const std::string& source) {
  return compileSong(SourceText::fromString("good.song", source));
}

}  // namespace

TEST(SongSourceLimits, EachLimitFromBothSides) {
  for (const Limit& limit : kLimits) {
    SCOPED_TRACE(limit.accepted);
    try {
      const CompiledSong out = compiled(limit.accepted);
      if (limit.read) {
        EXPECT_EQ(limit.read(out), limit.value);
      }
    } catch (const SourceError& error) {
      ADD_FAILURE() << "refused: " << error.what();
    }
    if (limit.refused.empty()) continue;
    SCOPED_TRACE(limit.refused);
    const std::string message = messageFor(limit.refused);
    EXPECT_EQ(message.rfind("bad.song:" + std::to_string(limit.line) + ":", 0), 0u) << message;
    EXPECT_NE(message.find(limit.message), std::string::npos) << message;
  }
}

TEST(SongSourceLimits, NumberForms) {
  for (const auto& number : kNumbers) {
    SCOPED_TRACE(number.source);
    try {
      EXPECT_EQ(number.read(compiled(number.source)), number.value);
    } catch (const SourceError& error) {
      ADD_FAILURE() << "refused: " << error.what();
    }
  }
  for (const auto& word : kNotNumbers) {
    SCOPED_TRACE(word.source);
    const std::string message = messageFor(word.source);
    EXPECT_EQ(message.rfind("bad.song:", 0), 0u) << message;
    EXPECT_NE(message.find(word.message), std::string::npos) << message;
  }
}
