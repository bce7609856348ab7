#include "plugin/Setup.h"

#include <cmath>
#include <cstring>
#include <exception>
#include <fstream>
#include <iterator>

#include "base/SampleRate.h"
#include "plugin/BuiltInSetup.h"
#include "songc/SongCompiler.h"
#include "synth/MixerStrip.h"
#include "synth/SongLoader.h"

namespace {

uint32_t heldTick(uint32_t frames) {
  if (frames < kMinTickFrames) return kMinTickFrames;
  if (frames > kMaxTickFrames) return kMaxTickFrames;
  return frames;
}

const char* loadErrorText(const SongLoadResult& result) {
  switch (result.error) {
    case SongLoadError::kSetupDamaged: return "the synthesizer set-up in it is damaged";
    case SongLoadError::kNoMagic: return "no song follows the set-up (\"GOAT\" missing)";
    case SongLoadError::kSongDamaged: return "the song section is damaged";
    case SongLoadError::kNone: break;
  }
  return result.endMarkerWrong ? "the set-up does not end in \"-SNT\"" : nullptr;
}

bool isCompiledSong(const std::vector<uint8_t>& bytes) {
  return bytes.size() >= 4 && std::memcmp(bytes.data(), "+SNT", 4) == 0;
}

}  // namespace

SetupResult loadSetupImage(std::vector<uint8_t> image, const std::string& origin,
                           uint32_t tickFrames) {
  SetupResult result;
  try {
    auto setup = std::make_unique<Setup>();
    setup->synth = std::make_unique<Synth>();
    const SongLoadResult loaded = loadSong(*setup->synth, image.data(), image.size());
    if (const char* why = loadErrorText(loaded)) {
      result.error = origin + ": " + why;
      return result;
    }
    Synth& synth = *setup->synth;
    setup->songTickFrames = samplesPerTickFor(*loaded.song);
    setup->tickFrames = heldTick(tickFrames ? tickFrames : setup->songTickFrames);
    setup->speed = loaded.song->speed ? loaded.song->speed : 1;
    for (int k = 0; k < Synth::kChannels; ++k)
      for (int j = 0; j < MixerStrip::count() && j < Setup::kStripValues; ++j)
        setup->strip[k][j] = MixerStrip::get(synth, k, j);
    synth.setBlockSize(int(setup->tickFrames));
    setup->left.assign(setup->tickFrames, 0.0f);
    setup->right.assign(setup->tickFrames, 0.0f);
    setup->interleaved.assign(size_t(setup->tickFrames) * 2, 0.0f);
    setup->image = std::move(image);
    setup->origin = origin;
    result.setup = std::move(setup);
  } catch (const std::exception& e) {
    result.error = origin + ": " + e.what();
  }
  return result;
}

SetupResult loadSetupFile(const std::string& path, uint32_t tickFrames) {
  std::vector<uint8_t> bytes;
  {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {nullptr, path + ": cannot open the file"};
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0) return {nullptr, path + ": cannot read the file"};
    if (size_t(size) > kMaxSetupFileBytes) return {nullptr, path + ": too large for a song"};
    if (size == 0) return {nullptr, path + ": the file is empty"};
    in.seekg(0);
    bytes.resize(size_t(size));
    if (!in.read(reinterpret_cast<char*>(bytes.data()), size))
      return {nullptr, path + ": cannot read the file"};
  }
  if (isCompiledSong(bytes)) return loadSetupImage(std::move(bytes), path, tickFrames);
  try {
    const std::string text(bytes.begin(), bytes.end());
    CompiledSong compiled = compileSong(SourceText::fromString(path, text));
    return loadSetupImage(std::move(compiled.image), path, tickFrames);
  } catch (const std::exception& e) {
    // A SourceError already names the file and line.
    return {nullptr, e.what()};
  }
}

SetupResult loadBuiltInSetup(uint32_t tickFrames) {
  return loadSetupImage(std::vector<uint8_t>(kBuiltInSetup, kBuiltInSetup + kBuiltInSetupSize),
                        kBuiltInSetupName, tickFrames);
}

uint32_t tickFramesForTempo(double beatsPerMinute, uint8_t speed) {
  const double ticksPerMinute = beatsPerMinute * 4.0 * (speed ? speed : 1);
  if (!(ticksPerMinute > 0.0)) return kMaxTickFrames;
  const double frames = std::floor(double(kSampleRate) * 60.0 / ticksPerMinute);
  if (frames >= double(kMaxTickFrames)) return kMaxTickFrames;
  return heldTick(uint32_t(frames));
}
