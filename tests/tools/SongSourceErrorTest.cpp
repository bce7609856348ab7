// Mistakes in a song source: each is reported as "FILE:LINE:COLUMN: what", at
// the line of the word that is wrong (also on continuation lines), and the
// compiler never produces a file from them.
#include <gtest/gtest.h>

#include "songc/SongCompiler.h"

namespace {

std::string messageFor(const char* source) {
  try {
    compileSong(SourceText::fromString("bad.song", source));
  } catch (const SourceError& error) {
    return error.what();
  }
  return "(no error)";
}

const char* const kVoiceStart = "channel 0\n  layer\n";

TEST(SongSourceErrors, NameFileLineAndProblem) {
  const std::string voice = kVoiceStart;
  // source, line, a part of the message
  const std::string bad[][3] = {
      {"song tempo=0\n", "1", "must be from 1 to 255"},
      {"\n\nsong tempo=70 colour=red\n", "3", "has no field 'colour'"},
      {"tune\n", "1", "unknown statement 'tune'"},
      {voice + "    envelope attack=300\n  end\nend\n", "3", "attack=300: must be from 0 to 255"},
      {voice + "    envelope\n      decay=8\n      sustain=loud\n  end\nend\n", "5", "expected a number"},
      {voice + "    lfo\n  end\nend\n", "3", "first modulator of a voice must be its amplitude envelope"},
      {voice + "    envelope\n    oscillator pitch=vib:0.1\n  end\nend\n", "4", "no modulator is labelled 'vib'"},
      {voice + "    envelope\n    oscillator waveform=saw\n  end\nend\n", "4", "expected one of sine, pulse"},
      {voice + "    envelope\n  end\nend\n", "2", "needs at least one oscillator"},
      {voice + "    envelope\n    oscillator\n", "2", "'layer' is not closed by 'end'"},
      {"bus 2\n  delay delayLeft=100 loopLeft=40\nend\n", "2", "must not exceed 128"},
      {"pattern p\n  C-4 7F\n  H-4 7F\nend\n", "3", "expected a row"},
      {"pattern p\n  C-4 7G\nend\n", "2", "velocity must be two hexadecimal digits"},
      {"pattern p\n  C-4 7F 10\nend\n", "2", "command needs its argument"},
      {"pattern p\n  C-4 00\nend\n", "2", "velocity above 00"},
      {"phrase hi\n  G-9\nend\npattern p\n  use hi+160\nend\n", "5", "leaves the notes' range"},
      {"pattern p\n  use nothing\nend\n", "2", "no phrase is named 'nothing'"},
      {"pattern p\n  C-4\nend\norder 0\n  0 p\n  0 p\nend\n", "6", "position 0 is given twice"},
      {"pattern p\n  C-4\nend\norder 0\n  0 q\nend\n", "5", "no pattern is named 'q'"},
      {"pattern p\n  C-4\nend\norder 0\n  0 p slide=cut:0..9\nend\n", "5", "no controller is named 'cut'"},
      {"song length=2\npattern p\n  C-4\nend\norder 0\n  3 p\nend\n", "6", "beyond the song's length=2"},
      {"order 16\nend\n", "1", "no channel name nor a channel number"},
      {"end\n", "1", "'end' without a block"},
      {voice + "    envelope\n    oscillator\nend\nchannel 1\n", "6", "is an 'end' missing above?"},
      {"phrase a\n  C-4\nend\nphrase b\n  use a*256\nend\nphrase c\n  use b*256\nend\n", "8",
       "more than 65535 rows"},
  };
  for (const auto& mistake : bad) {
    std::string message = messageFor(mistake[0].c_str());
    SCOPED_TRACE(mistake[0]);
    EXPECT_EQ(message.rfind("bad.song:" + mistake[1] + ":", 0), 0u) << message;
    EXPECT_NE(message.find(mistake[2]), std::string::npos) << message;
  }
}

// The column is that of the word to blame, on its own line; a tab counts
// as one character.
TEST(SongSourceErrors, NameTheColumnOfTheWordToBlame) {
  const std::pair<const char*, const char*> cases[] = {
      {"song tempo=0\n", "bad.song:1:6: tempo=0"},
      {"song\n  speed=4\n\t tempo=x\n", "bad.song:3:3: tempo=x"},
      {"pattern p\n  C-4 7F | E-4 7G\nend\n", "bad.song:2:16: the velocity"},
      {"pattern p\n  C-4 | | | | | | | | | | | | | | | | D-4\nend\n",
       "bad.song:2:39: a row has at most 16"},
      {"order 0\n  x p\nend\n", "bad.song:2:3: expected an order position"},
  };
  for (const auto& [source, expected] : cases)
    EXPECT_EQ(messageFor(source).rfind(expected, 0), 0u) << messageFor(source);
}

TEST(SongSourceErrors, MoreVoicesThanTheShowLoadsAreRefusedAtTheLayer) {
  // Layers of 255 voices in channel 0, beside the 15 channels that keep
  // their 8 default voices: the 64th layer passes 16,384.
  std::string source = "channel 0\n";
  for (int l = 0; l < 64; ++l) source += "  layer voices=255\n    envelope\n    oscillator\n  end\n";
  source += "end\n";
  const std::string message = messageFor(source.c_str());
  EXPECT_EQ(message.rfind("bad.song:254:3: ", 0), 0u) << message;
  EXPECT_NE(message.find("more than 16384 voices"), std::string::npos) << message;
}

TEST(SongSourceErrors, MissingFileIsNamed) {
  try {
    SourceText::fromFile("/nonexistent/brumtakt.song");
    FAIL() << "no error";
  } catch (const SourceError& error) {
    EXPECT_STREQ(error.what(), "/nonexistent/brumtakt.song:0: cannot open the file");
  }
}

}  // namespace
