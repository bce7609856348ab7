#include "synth/DataStream.h"

#include <cstring>

DataStream::DataStream(const uint8_t* block, size_t size)
    : start_(block), inMemory_(true), cursor_(block), end_(block + size) {}

DataStream::DataStream(base::FileHandle file) : file_(file) {}

DataStream::DataStream(std::vector<uint8_t>* sink) : sink_(sink) {}

uint32_t DataStream::readInt(int n) {
  if (n < 1 || n > 4) return 0;
  uint32_t value = 0;
  if (inMemory_) {
    if (failed_ || size_t(end_ - cursor_) < size_t(n)) {
      failed_ = true;
      cursor_ = end_;
      return 0;
    }
    for (int i = 0; i < n; ++i) value |= uint32_t(cursor_[i]) << (8 * i);
    cursor_ += n;
    return value;
  }
  if (!readable_ || sink_) return 0;
  for (int i = 0; i < n; ++i) {
    uint8_t byte = 0;
    transferred_ = base::readFile(file_, &byte, 1);
    if (transferred_ != 1) failed_ = true;
    value |= uint32_t(byte) << (8 * i);
  }
  return value;
}

float DataStream::readFloat() {
  uint8_t bytes[4] = {};
  if (inMemory_) {
    if (failed_ || end_ - cursor_ < 4) {
      failed_ = true;
      cursor_ = end_;
      return 0.0f;
    }
    std::memcpy(bytes, cursor_, 4);
    cursor_ += 4;
  } else {
    if (!readable_ || sink_) return 0.0f;
    transferred_ = base::readFile(file_, bytes, 4);
    if (transferred_ != 4) {
      failed_ = true;
      return 0.0f;
    }
  }
  // The file is little-endian whatever the machine.
  uint32_t bits = uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 |
                  uint32_t(bytes[3]) << 24;
  float value;
  std::memcpy(&value, &bits, 4);
  return value;
}

void DataStream::put(const uint8_t* bytes, int n) {
  if (sink_) {
    sink_->insert(sink_->end(), bytes, bytes + n);
    return;
  }
  transferred_ = base::writeFile(file_, bytes, uint32_t(n));
}

void DataStream::writeInt(uint32_t value, int n) {
  for (int i = 0; i < n && i < 4; ++i) {
    uint8_t byte = uint8_t(value >> (8 * i));
    put(&byte, 1);
  }
}

void DataStream::writeFloat(float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, 4);
  uint8_t bytes[4] = {uint8_t(bits), uint8_t(bits >> 8), uint8_t(bits >> 16), uint8_t(bits >> 24)};
  put(bytes, 4);
}

uint32_t DataStream::tell() const {
  if (inMemory_) return uint32_t(cursor_ - start_);
  if (sink_) return uint32_t(sink_->size());
  return base::filePosition(file_);
}
