// Which scene plays at which song position: 24 one-byte scene indices, so
// that the pictures follow the music whatever the frame rate.
#pragma once

#include <array>
#include <cstdint>

class SceneSchedule {
 public:
  static constexpr int kPositions = 24;
  // The last position the show plays; it ends once the song passes it.
  static constexpr int kLastPlayedPosition = 22;

  // Filled with the show's order: scenes 0, 1, 5, 7, 3, 4, 2, 6.
  SceneSchedule();

  // The scene for a song position. Positions outside 0..23 take the nearest
  // entry: nothing outside the table is ever read.
  int sceneAt(int position) const;

 private:
  std::array<uint8_t, kPositions> scenes_{};
};
