// --page-frames FPS DATA SECONDS...: the frames that the desktop program's
// "--screenshot SECONDS OUT --fps FPS" draws, one page load for all the
// moments: every frame from the start on a virtual clock, as a capture at
// FPS draws them, each named moment read back and handed to the page
// (Module.kylEvent("frame", "INDEX SECONDS") with Module.kylFramePixels
// holding its 640x480 RGB rows, top row first). Frames are drawn a few per
// animation frame, so the page stays responsive; "frames-done" follows the
// last.
#pragma once

int runPageFrames(int argc, char** argv);
