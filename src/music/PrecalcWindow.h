// The small "PRGESS" window shown while the song is rendered ahead: a bar,
// blue for the part done and dark red for the rest, and the percentage in
// the title. Closing it only removes it; the rendering goes on and later
// updates go nowhere.
#pragma once

#include <cstdint>

#include "platform/Paint.h"
#include "platform/Window.h"

class PrecalcWindow {
 public:
  static constexpr const char* kClassName = "PRGESS";
  static constexpr int kWidth = 300;
  static constexpr int kHeight = 50;
  static constexpr platform::Rgb kDoneColour{0, 128, 255};
  static constexpr platform::Rgb kLeftColour{64, 0, 0};

  // Registers the class and opens the window centred on the desktop. Without
  // a display there is no window, and every call below does nothing.
  PrecalcWindow();
  // Destroys the window (when still open) and drains the message queue.
  ~PrecalcWindow();
  PrecalcWindow(const PrecalcWindow&) = delete;
  PrecalcWindow& operator=(const PrecalcWindow&) = delete;

  bool isOpen() const { return window_ != nullptr; }
  platform::WindowHandle handle() const { return window_; }

  // Sets the title "Making music... N% done" and repaints the bar at once.
  void showProgress(uint32_t percent);
  // Drains the message queue, keeping this and the main window responsive.
  void pumpMessages();

  // Paints the bar of a window whose data holds the percentage.
  static void paintBar(platform::WindowHandle window);
  // Where the window's left edge goes on a desktop (truncating division, so
  // on an odd width the extra pixel is on the right).
  static int centredLeft(int desktopRight) { return (desktopRight - kWidth) / 2; }
  static int centredTop(int desktopBottom) { return (desktopBottom - kHeight) / 2; }

 private:
  static intptr_t procedure(void* user, platform::WindowHandle window, uint32_t message,
                            uintptr_t wParam, intptr_t lParam);

  platform::WindowHandle window_ = nullptr;
};
