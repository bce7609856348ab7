// The two-region lock of a looping sound buffer on the DirectSound backend,
// run under Wine, and on the silent ring every backend falls back to.
// GoogleTest is not built for mingw, hence a small self-contained runner.
#include <cstdio>
#include <memory>
#include <string>

#include "win32/SoundRingChecks.h"

namespace {

int passed = 0;
int failed = 0;

}  // namespace

void soundring::check(bool ok, const std::string& what) {
  if (ok) {
    ++passed;
  } else {
    ++failed;
    std::printf("FAILED: %s\n", what.c_str());
  }
}

int main() {
  using namespace soundring;
  const platform::WaveFormat format;

  std::unique_ptr<platform::SoundBuffer> silent =
      platform::createSilentSoundBuffer(kRingBytes, format);
  check(silent != nullptr, "silent ring created");
  if (silent) blockAcrossTheEnd(*silent, "silent");

  std::unique_ptr<platform::SoundDevice> device;
  try {
    device = platform::createSoundDevice();
  } catch (const platform::PlatformError& error) {
    check(false, std::string("open the sound device: ") + error.what());
  }
  if (device) {
    check(device->setCooperativeLevel(nullptr), "cooperative level");
    std::unique_ptr<platform::SoundBuffer> ring;
    try {
      ring = device->createBuffer(kRingBytes, format);
    } catch (const platform::PlatformError& error) {
      check(false, std::string("create the looping buffer: ") + error.what());
    }
    check(platform::audioDriverName() == "dsound",
          "driver name " + platform::audioDriverName());
    if (ring) {
      blockAcrossTheEnd(*ring, platform::audioDriverName().c_str());
      cursorsLoop(*ring, platform::audioDriverName().c_str());
    }
    ring.reset();
    device.reset();
    check(platform::audioDriverName() == "silent", "driver name after closing");
  }

  std::printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
