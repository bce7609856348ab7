#include "music/WavFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "base/SampleRate.h"

namespace {

constexpr uint32_t kChannels = 2;
constexpr uint32_t kBytesPerFrame = 4;

void put(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(value >> (8 * i)));
}

void putTag(std::vector<uint8_t>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

}  // namespace

bool writeWavFile(const std::string& path, const std::vector<int16_t*>& blocks,
                  uint32_t framesPerBlock, std::string& error) {
  const uint64_t dataBytes = uint64_t(blocks.size()) * framesPerBlock * kBytesPerFrame;
  if (dataBytes > 0xFFFFFFFFull - 36) {
    error = "the audio is too long for a WAV file";
    return false;
  }
  std::vector<uint8_t> header;
  putTag(header, "RIFF");
  put(header, uint32_t(36 + dataBytes), 4);
  putTag(header, "WAVE");
  putTag(header, "fmt ");
  put(header, 16, 4);
  put(header, 1, 2);  // PCM
  put(header, kChannels, 2);
  put(header, kSampleRate, 4);
  put(header, kSampleRate * kBytesPerFrame, 4);
  put(header, kBytesPerFrame, 2);
  put(header, 16, 2);
  putTag(header, "data");
  put(header, uint32_t(dataBytes), 4);

  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
  if (!file) {
    error = std::strerror(errno);
    return false;
  }
  bool ok = std::fwrite(header.data(), 1, header.size(), file.get()) == header.size();
  // Samples are little-endian in the file whatever the machine.
  std::vector<uint8_t> bytes(size_t(framesPerBlock) * kBytesPerFrame);
  for (const int16_t* block : blocks) {
    if (!ok) break;
    for (size_t i = 0; i < size_t(framesPerBlock) * kChannels; ++i) {
      bytes[2 * i] = uint8_t(uint16_t(block[i]));
      bytes[2 * i + 1] = uint8_t(uint16_t(block[i]) >> 8);
    }
    ok = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
  }
  if (ok && std::fflush(file.get()) != 0) ok = false;
  if (!ok) error = std::strerror(errno);
  FILE* raw = file.release();
  if (std::fclose(raw) != 0 && ok) {
    ok = false;
    error = std::strerror(errno);
  }
  return ok;
}
