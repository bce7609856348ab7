#include "music/MusicMessages.h"

#include <cstdio>

#include "platform/Dialogs.h"

namespace {

struct Box {
  const char* text;
  const char* caption;
};

// In the order of MusicMessage.
constexpr Box kBoxes[] = {
    {"FUCK", "FUCK"},
    {"Could not load song!", "rARHR"},
    {"Could not create dx8 object", "Error!"},
    {"Could not set cooperative level", "Error!"},
    {"secbuf", "Error!"},
    {"Could not play buffer!", "Error!"},
    {"Öka maxframes i precalc din fjant", "Mes!"},
};
static_assert(sizeof kBoxes / sizeof kBoxes[0] ==
                  size_t(MusicMessage::PrecalculationTableFull) + 1,
              "one box per message");

}  // namespace

void showMusicMessage(MusicMessage message, const std::string& reason) {
  const Box& box = kBoxes[size_t(message)];
  platform::messageBox(nullptr, box.text, box.caption);
  if (!reason.empty()) std::fprintf(stderr, "sound: %s\n", reason.c_str());
}
