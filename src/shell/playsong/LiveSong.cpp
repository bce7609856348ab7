#include "shell/playsong/LiveSong.h"

#include <algorithm>
#include <stdexcept>

#include "songc/SongCompiler.h"
#include "synth/SongLoader.h"

std::unique_ptr<LiveSong> buildLiveSong(const std::string& path, const std::string& text) {
  const CompiledSong compiled = compileSong(SourceText::fromString(path, text));
  auto live = std::make_unique<LiveSong>();
  live->synth = std::make_unique<Synth>();
  SongLoadResult loaded = loadSong(*live->synth, compiled.image.data(), compiled.image.size());
  if (!loaded.song) throw std::runtime_error(path + ": the compiled song does not load");
  live->song = std::move(loaded.song);
  const size_t lists = std::min<size_t>(live->song->channelCount, live->song->orderLists.size());
  for (size_t k = 0; k < lists; ++k)
    live->steps = std::max<uint32_t>(live->steps, uint32_t(live->song->orderLists[k].steps.size()));
  return live;
}
