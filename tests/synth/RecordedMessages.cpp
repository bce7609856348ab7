#include "RecordedMessages.h"

#include "platform/Dialogs.h"

std::vector<RecordedMessage>& recordedMessages() {
  static std::vector<RecordedMessage> messages;
  return messages;
}

// Replaces the platform's message boxes in the test programs that link this.
namespace platform {

MessageBoxAnswer messageBox(WindowHandle, const char* text, const char* caption,
                            MessageBoxButtons buttons) {
  recordedMessages().push_back({text, caption});
  return buttons == MessageBoxButtons::YesNo ? MessageBoxAnswer::No : MessageBoxAnswer::Ok;
}

void setDefaultMessageBoxOwner(WindowHandle) {}

}  // namespace platform
