// The sound device on DirectSound 8: IDirectSound8 and one looping
// secondary IDirectSoundBuffer per createBuffer.
//
// A buffer keeps its own reference on the device. DirectSound frees every
// buffer when the device's last reference goes, so without it a buffer that
// outlives the device object would point at freed memory.
#include "platform/win32/LeanWindows.h"
#include <mmsystem.h>
#include <dsound.h>

#include <algorithm>
#include <atomic>
#include <cstdio>

#include "platform/SoundDevice.h"
#include "platform/win32/Win32Handles.h"

namespace platform {
namespace {

// Bytes the write cursor stands past the play cursor at least: 1024 frames.
constexpr uint32_t kMinimumWriteLead = 4096;

// Devices open now; audioDriverName says "silent" when there are none.
std::atomic<int> openDevices{0};

std::string resultText(const char* what, HRESULT result) {
  char text[96];
  std::snprintf(text, sizeof text, "%s failed (0x%08lX)", what,
                static_cast<unsigned long>(result));
  return text;
}

class DirectSoundBuffer final : public SoundBuffer {
 public:
  DirectSoundBuffer(IDirectSound8* device, IDirectSoundBuffer* buffer, uint32_t size)
      : device_(device), buffer_(buffer), size_(size) {
    device_->AddRef();
  }
  ~DirectSoundBuffer() override {
    buffer_->Stop();
    buffer_->Release();
    device_->Release();
  }
  DirectSoundBuffer(const DirectSoundBuffer&) = delete;
  DirectSoundBuffer& operator=(const DirectSoundBuffer&) = delete;

  uint32_t size() const override { return size_; }

  bool getCurrentPosition(uint32_t* playCursor, uint32_t* writeCursor) override {
    DWORD play = 0;
    DWORD write = 0;
    if (FAILED(buffer_->GetCurrentPosition(&play, &write))) return false;
    if (playCursor) *playCursor = play;
    if (writeCursor) {
      // The song clock counts from the write cursor, and its own arithmetic
      // makes it move on most of a tick after the write cursor has passed a
      // tick's start. DirectSound under Wine puts the write cursor a few
      // milliseconds past the play cursor, so the clock came late by more
      // than a frame; the SDL device's stands two 512-frame periods past it.
      // Both now keep that distance at least (writing beyond DirectSound's
      // write cursor is always allowed), so the clock follows the sound
      // alike on both.
      const uint32_t lead = (uint32_t(write) + size_ - uint32_t(play)) % size_;
      *writeCursor = (uint32_t(play) + std::max(lead, kMinimumWriteLead)) % size_;
    }
    return true;
  }

  bool setCurrentPosition(uint32_t playCursor) override {
    return SUCCEEDED(buffer_->SetCurrentPosition(playCursor));
  }

  bool lock(uint32_t offset, uint32_t bytes, void** region1, uint32_t* size1, void** region2,
            uint32_t* size2, uint32_t flags) override {
    DWORD lockFlags = (flags & kLockEntireBuffer) ? DSBLOCK_ENTIREBUFFER : 0;
    void* p1 = nullptr;
    void* p2 = nullptr;
    DWORD s1 = 0;
    DWORD s2 = 0;
    HRESULT result = buffer_->Lock(offset, bytes, &p1, &s1, &p2, &s2, lockFlags);
    if (result == DSERR_BUFFERLOST && SUCCEEDED(buffer_->Restore())) {
      result = buffer_->Lock(offset, bytes, &p1, &s1, &p2, &s2, lockFlags);
    }
    if (FAILED(result)) return false;
    *region1 = p1;
    *size1 = s1;
    if (region2) *region2 = p2;
    if (size2) *size2 = s2;
    return true;
  }

  bool unlock(void* region1, uint32_t size1, void* region2, uint32_t size2) override {
    return SUCCEEDED(buffer_->Unlock(region1, size1, region2, size2));
  }

  bool playLooping() override { return SUCCEEDED(buffer_->Play(0, 0, DSBPLAY_LOOPING)); }

  bool stop() override { return SUCCEEDED(buffer_->Stop()); }

 private:
  IDirectSound8* device_;
  IDirectSoundBuffer* buffer_;
  uint32_t size_;
};

class DirectSoundDevice final : public SoundDevice {
 public:
  explicit DirectSoundDevice(IDirectSound8* device) : device_(device) { openDevices.fetch_add(1); }
  ~DirectSoundDevice() override {
    device_->Release();
    openDevices.fetch_sub(1);
  }
  DirectSoundDevice(const DirectSoundDevice&) = delete;
  DirectSoundDevice& operator=(const DirectSoundDevice&) = delete;

  bool setCooperativeLevel(WindowHandle window) override {
    // Offline users have no window; the desktop stands in, as DirectSound
    // needs some top-level window.
    HWND hwnd = window ? toHwnd(window) : GetDesktopWindow();
    return SUCCEEDED(device_->SetCooperativeLevel(hwnd, DSSCL_PRIORITY));
  }

  std::unique_ptr<SoundBuffer> createBuffer(uint32_t bytes, const WaveFormat& format) override {
    WAVEFORMATEX wave = {};
    wave.wFormatTag = WAVE_FORMAT_PCM;
    wave.nChannels = format.channels;
    wave.nSamplesPerSec = format.framesPerSecond;
    wave.wBitsPerSample = format.bitsPerSample;
    wave.nBlockAlign = format.bytesPerFrame();
    wave.nAvgBytesPerSec = format.framesPerSecond * format.bytesPerFrame();
    wave.cbSize = 0;

    DSBUFFERDESC description = {};
    description.dwSize = sizeof description;
    description.dwFlags = DSBCAPS_GETCURRENTPOSITION2 | DSBCAPS_STICKYFOCUS;
    description.dwBufferBytes = bytes;
    description.dwReserved = 0;
    description.lpwfxFormat = &wave;

    IDirectSoundBuffer* buffer = nullptr;
    HRESULT result = device_->CreateSoundBuffer(&description, &buffer, nullptr);
    if (FAILED(result) || !buffer) throw PlatformError(resultText("CreateSoundBuffer", result));
    DSBCAPS caps = {};
    caps.dwSize = sizeof caps;
    uint32_t size = bytes;
    if (SUCCEEDED(buffer->GetCaps(&caps)) && caps.dwBufferBytes != 0) size = caps.dwBufferBytes;
    return std::make_unique<DirectSoundBuffer>(device_, buffer, size);
  }

 private:
  IDirectSound8* device_;
};

}  // namespace

std::unique_ptr<SoundDevice> createSoundDevice() {
  IDirectSound8* device = nullptr;
  HRESULT result = DirectSoundCreate8(nullptr, &device, nullptr);
  if (FAILED(result) || !device) throw PlatformError(resultText("DirectSoundCreate8", result));
  return std::make_unique<DirectSoundDevice>(device);
}

std::string audioDriverName() { return openDevices.load() > 0 ? "dsound" : "silent"; }

}  // namespace platform
