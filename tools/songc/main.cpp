// kyl_songc: the song compiler's command (songc/SongcCommand.h).
#include "songc/SongcCommand.h"

int main(int argc, char** argv) { return runSongcCommand(argc, argv); }
