// --page-canvas-frames FPS DATA SECONDS...: frames of the show drawn on the
// page's canvas itself, through the show's own window (GLWindow) at the size
// the page gave the canvas's drawing buffer, on the virtual clock of
// "--screenshot SECONDS OUT --fps FPS --size WxH": every frame from the
// start, each named moment read back from the canvas and handed to the page
// ("frame" events as PageFrames.h describes, then "frames-done"). The page's
// high-density test compares them with the desktop program's screenshots at
// the canvas's size.
#pragma once

int runPageCanvasFrames(int argc, char** argv);
