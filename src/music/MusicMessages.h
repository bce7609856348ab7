// The boxes the music system shows, in the words the show has always used.
// Music's calls return what happened (a song or null, false, a load result)
// and throw nothing; what the user must be told is shown here and nowhere
// else, at the moment it happens, so that a box still comes before the next
// step of start-up (the sound device's boxes before the precalculation, the
// full table's box over the progress window).
//
// Every box goes to standard error too (platform/Dialogs.h); a reason the
// system gave follows it there as one "sound: REASON" line.
#pragma once

#include <string>

enum class MusicMessage {
  SetUpEndMarkerWrong,        // "FUCK", caption "FUCK"
  SongNotLoaded,              // "Could not load song!", caption "rARHR"
  NoSoundDevice,              // "Could not create dx8 object", caption "Error!"
  NoCooperativeLevel,         // "Could not set cooperative level", caption "Error!"
  NoSoundBuffer,              // "secbuf", caption "Error!"
  PlayRefused,                // "Could not play buffer!", caption "Error!"
  PrecalculationTableFull,    // "Öka maxframes i precalc din fjant", caption "Mes!"
};

// Shows the message's box (no owner, OK) and waits for it.
void showMusicMessage(MusicMessage message, const std::string& reason = std::string());
