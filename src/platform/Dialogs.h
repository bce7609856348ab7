// Message boxes. Every box also writes its caption and text to standard
// error, so a user without a display still reads it.
#pragma once

namespace platform {

struct NativeWindow;
using WindowHandle = NativeWindow*;

enum class MessageBoxButtons { Ok, YesNo };
enum class MessageBoxAnswer { Ok, Yes, No };

// Shows a modal box over owner (may be null) and waits for the answer. A box
// that cannot be shown (no display) answers No to a question, Ok otherwise.
// Texts are UTF-8.
MessageBoxAnswer messageBox(WindowHandle owner, const char* text, const char* caption,
                            MessageBoxButtons buttons = MessageBoxButtons::Ok);

// The window that message boxes use as their owner when the caller passes
// none; the shell sets it once its window exists, so that a box never hides
// behind a fullscreen window.
void setDefaultMessageBoxOwner(WindowHandle owner);

}  // namespace platform
