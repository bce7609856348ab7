// Message boxes recorded instead of shown, so tests can check that every bad
// input ends in its message (and never block on a box).
#pragma once

#include <string>
#include <vector>

struct RecordedMessage {
  std::string text;
  std::string caption;
};

std::vector<RecordedMessage>& recordedMessages();
