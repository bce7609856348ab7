// The show's frame loop, one iteration at a time: the live show runs it on the
// music system's clock until it returns false; a test runs the same
// iterations on a VirtualClock and reads the window back after each.
#pragma once

class GLWindow;
class ShowFrame;

// One iteration of the frame loop: the quit test, the frame (ShowFrame), the
// window's end of frame (swap, messages, title), and, while the space bar is
// held, a pause of 200 ms that slows the pictures while the music goes on.
// False once the user has quit or the song has passed the schedule.
bool showFrame(GLWindow& window, ShowFrame& frame);
