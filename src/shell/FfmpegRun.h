// One run of ffmpeg fed with raw frames, as every offline mode that writes
// pictures or video uses it: start, feed every frame, wait for the end.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Gives frame k (0, 1, ...) as RGB bytes, top row first.
using FrameSource = std::function<const std::vector<uint8_t>&(uint32_t k)>;
// Told after each frame has gone to ffmpeg.
using FrameDone = std::function<void(uint32_t done)>;

// The arguments that make ffmpeg read such frames from its standard input;
// the caller appends its other inputs, its options and the output.
std::vector<std::string> rawFrameInput(int width, int height, int fps);

// Runs ffmpeg with the arguments and feeds it `count` frames. Throws
// ShellError naming what failed.
void runFfmpeg(const std::vector<std::string>& arguments, uint32_t count,
               const FrameSource& frame, const FrameDone& done = nullptr);
