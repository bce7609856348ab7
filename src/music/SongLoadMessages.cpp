#include "music/SongLoadMessages.h"

#include "platform/Dialogs.h"

void showSongLoadMessages(const SongLoadResult& result) {
  if (result.endMarkerWrong) platform::messageBox(nullptr, "FUCK", "FUCK");
  if (!result.song) platform::messageBox(nullptr, "Could not load song!", "rARHR");
}

std::unique_ptr<Song> loadSongShowingMessages(Synth& synth, const uint8_t* image, size_t size) {
  SongLoadResult result = loadSong(synth, image, size);
  showSongLoadMessages(result);
  return std::move(result.song);
}
