// The sound output on the system's sound device: opening it, and the silent
// ring that stands in when there is none. Apart from the rest of the output,
// which the page's sound program (built without exceptions, with no device of
// its own) shares.
#include <cstdio>

#include "music/MusicMessages.h"
#include "music/SoundOutput.h"

SoundOutput::SoundOutput(platform::WindowHandle window, Synth& synth)
    : window_(window), synth_(&synth) {
  initialise();
  openDevice(window);
}

void SoundOutput::openDevice(platform::WindowHandle window) {
  try {
    device_ = platform::createSoundDevice();
  } catch (const platform::PlatformError& error) {
    showMusicMessage(MusicMessage::NoSoundDevice, error.what());
  }
  if (device_) {
    if (!device_->setCooperativeLevel(window))
      showMusicMessage(MusicMessage::NoCooperativeLevel);
    try {
      buffer_ = device_->createBuffer(kBufferBytes, platform::WaveFormat());
    } catch (const platform::PlatformError& error) {
      showMusicMessage(MusicMessage::NoSoundBuffer, error.what());
    }
  }
  if (!buffer_) {
    // No device: a ring nobody hears still keeps the song clock in real time.
    device_.reset();
    buffer_ = platform::createSilentSoundBuffer(kBufferBytes, platform::WaveFormat());
    std::fprintf(stderr, "sound: no audio device, the show plays without sound\n");
  }
  bufferSize_ = buffer_ ? buffer_->size() : 0;
}
