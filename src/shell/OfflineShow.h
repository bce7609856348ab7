// The show on a virtual clock, for the offline modes (capture, screenshots,
// benchmark, the page's frames): the same song, scenes and frame as the live
// show (ShowFrame), but each frame is drawn for a moment the caller names,
// with the seconds and the heard ticks that moment has in a live run, and the
// sound is rendered ahead instead of played.
//
// The frames are the live show's only when every frame from the first is
// drawn, in order, on a thread whose rand sequence nothing else draws from:
// the scenes and the loop draw from it. The sound therefore renders on a
// thread of its own, as the live show's streaming thread does.
//
// How to use: with a GL context current, construct; then for
// frame k at N frames per second call drawFrame(k / N) while
// playing(k / N); renderSound() gives the matching audio.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "clock/VirtualClock.h"
#include "music/SongRenderer.h"
#include "scenes/SceneList.h"
#include "shell/ShowFrame.h"

class Scene;
class Synth;
class SoundOutput;
struct Song;

class OfflineShow {
 public:
  // Loads the song from its file image and builds the scenes (reading the
  // pictures from the working directory's parent) from startPosition on.
  // Throws ShellError when the song does not load or the start position is
  // past the show.
  OfflineShow(const std::vector<uint8_t>& songImage, int startPosition);
  ~OfflineShow();
  OfflineShow(const OfflineShow&) = delete;
  OfflineShow& operator=(const OfflineShow&) = delete;

  // The song position a live run hears `seconds` after its start.
  int positionAt(double seconds) const;
  // Whether the live show still draws a frame at that moment.
  bool playing(double seconds) const;
  // How many frames a capture at this rate draws.
  uint32_t frameCount(int fps) const;
  // The show's length: its order steps from the start position to the end.
  double lengthSeconds() const;
  // The first moment at which the song reaches `position`.
  double secondsOfPosition(int position) const;

  // The live loop's frame at that moment (ShowFrame::draw on the virtual
  // clock).
  void drawFrame(double seconds);

  // The sound from the start position to the end of the show, one block per
  // tick, as the live run plays it: rendered on a thread of its own, whose
  // rand sequence starts fresh as the streaming thread's does, so the
  // caller's sequence (the pictures') is left alone. The hook is called on
  // that thread. Not in a page, which has no threads.
  RenderedSong renderSound(SongRenderHook* hook);
  // Ticks of sound the show lasts (the blocks of renderSound to keep).
  uint32_t soundTicks() const;

  // Wall-clock seconds the scene constructors took.
  double sceneConstructionSeconds() const { return constructionSeconds_; }

 private:
  void setClock(double seconds);

  int startPosition_;
  std::unique_ptr<Synth> synth_;
  std::unique_ptr<Song> song_;
  // Never started: it only answers what a live run would have heard.
  std::unique_ptr<SoundOutput> clock_;
  // What the scenes read: the moment being drawn.
  VirtualClock virtualClock_;
  SceneArray scenes_;
  ShowFrame frame_{virtualClock_, scenes_};
  double constructionSeconds_ = 0.0;
};
