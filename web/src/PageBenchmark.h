// --page-benchmark DATA: what "kylvander --benchmark" does, in the page:
// every frame of the show on the canvas at 60 per second of virtual time,
// the first three seconds each scene plays timed (BenchmarkTimeline.h), each
// timed frame finished before the next, with the median and worst frame
// times, and the start-up (scene construction) time. The table goes to the
// console in the desktop program's layout; "benchmark-done" follows the
// last line.
//
// The page must not block, so frames are drawn in runs of up to 50 ms per
// animation frame. A frame's time is its drawing until the GPU process has
// rasterised it (a pixel read back: browsers make glFinish a flush); the fps
// column is the frames over the time spent drawing them, the waits for the
// browser's next animation frame left out. Two columns more than the
// desktop's say where a frame's time goes: the median time of the calls
// (the program, WebGL's bindings, the commands sent), and of the wait after
// them (what the GPU process still had to do once the calls were made).
#pragma once

int runPageBenchmark(int argc, char** argv);
