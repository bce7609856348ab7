// The show's scenes: eight objects built once while the GL context is current
// and drawn one per frame, each drawing its whole frame (clear included).
//
// Overview
//   Scene          the base: the show's clock, the time members every scene
//                  keeps, the frame's opening and closing (Scene::Frame),
//                  fades, and the scene's textures, which it owns.
//   PicturePass    a screen-space quad pass (backgrounds, overlays, logos).
//   sweepTube      the tube-sweep vertex function of scenes 0, 1, 2, 6, 7.
//   TubeScene      the chrome tube set-up that scenes 0, 1, 2, 7 share.
//   PlasmaDescription  a plasma texture's parameters by name.
//   ArmsScene (0), TunnelScene (1), KnotScene (2), PhotoScene (3 and 4),
//   ScrollerScene (5), ColumnScene (6), LogoScene (7).
//   kShowScenes (SceneList.h) lists them with the order steps each plays;
//   constructScenes builds them in that order.
//
// Glossary
//   local time   seconds since the scene's first frame; never reset, so a
//                scene shown again continues where it was.
//   lastTime     the seconds clock at the latest clock update; formulas drawn
//                before the update see the previous frame's value.
//   beatPhase    an accumulator of minus the frame durations, warped by the
//                beat so that it falls faster on some beats.
//
// How to use: with a GL context current and a ShowClock (the started music
// system, or a VirtualClock), construct the scenes and call render() once per
// frame on the one that is on screen; the window swaps buffers.
// render() reads the clock's seconds and beat, and draws from
// platform::rand as each scene says; it leaves GL attributes, matrix stacks
// and the matrix mode as it found them.
#pragma once

#include <memory>
#include <string>
#include <vector>

class ShowClock;
class Texture;

class Scene {
 public:
  // A texture the scene made, under its member name ("armsTexture",
  // "photos0"), for the texture export.
  struct NamedTexture {
    std::string name;
    const Texture* texture;
  };
  // A copy of the time members, for inspection.
  struct Times {
    bool started;
    float startTime;
    float lastTime;
    float frameStep;
    float beatPhase;
  };

  explicit Scene(ShowClock& clock);
  virtual ~Scene();
  Scene(const Scene&) = delete;
  Scene& operator=(const Scene&) = delete;

  // Draws the whole frame; the base draws nothing.
  virtual void render();

  // The scene's textures in the order it made them.
  const std::vector<NamedTexture>& textures() const { return textureNames_; }
  Times times() const { return {started, startTime, lastTime, frameStep, beatPhase}; }

 protected:
  // A frame's opening and closing, for the scene's render: starts the clock,
  // saves all attributes, clears colour and depth to the colour (alpha 0),
  // turns on the depth test and smooth shading; going out of scope restores
  // the attributes.
  class Frame {
   public:
    Frame(Scene& scene, float red, float green, float blue);
    ~Frame();
    Frame(const Frame&) = delete;
    Frame& operator=(const Frame&) = delete;
  };

  // frameStep = lastTime - seconds now, lastTime = seconds now, then
  // beatPhase advances by frameStep x beatFactor.
  void updateClock(float beatFactor);
  // 0.5 when (beat AND 7) is above 2, else 2: beatPhase falls four times as
  // fast on the first three of every eight beats.
  float standardBeatFactor();
  // Seconds now minus startTime.
  float localTime();
  // A tint of this colour whose alpha falls from 1 to 0 over `length`
  // seconds of local time; nothing from then on.
  void fadeIn(float red, float green, float blue, float length);
  // Takes ownership of a texture an Image has just made and lists it under
  // `name`; the scene keeps the returned pointer as a view.
  Texture* keep(const char* name, Texture* made);

  ShowClock& clock;
  bool started = false;
  float startTime = 0.0f;
  float lastTime = 0.0f;
  float frameStep = 0.0f;
  float beatPhase = 0.0f;

 private:
  // The first call records the start of the scene's local time (Frame's
  // opening).
  void startClock();

  std::vector<std::unique_ptr<Texture>> ownedTextures_;
  std::vector<NamedTexture> textureNames_;
};
