// The abstract scene: one part of the show, drawn whole by render() on the
// main thread while the schedule has it on screen.
#pragma once

class MusicSystem;

class Scene {
 public:
  explicit Scene(MusicSystem& music) : music(music) {}
  virtual ~Scene() = default;
  // Draws the whole frame.
  virtual void render() = 0;

 protected:
  MusicSystem& music;
};
