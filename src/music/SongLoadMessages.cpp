#include "music/SongLoadMessages.h"

#include "music/MusicMessages.h"

void showSongLoadMessages(const SongLoadResult& result) {
  if (result.endMarkerWrong) showMusicMessage(MusicMessage::SetUpEndMarkerWrong);
  if (!result.song) showMusicMessage(MusicMessage::SongNotLoaded);
}

std::unique_ptr<Song> loadSongShowingMessages(Synth& synth, const uint8_t* image, size_t size) {
  SongLoadResult result = loadSong(synth, image, size);
  showSongLoadMessages(result);
  return std::move(result.song);
}
