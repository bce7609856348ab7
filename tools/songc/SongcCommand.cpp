#include "songc/SongcCommand.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <string>

#include "songc/MidiExport.h"
#include "songc/MidiImport.h"
#include "songc/SongCompiler.h"
#include "synth/SongWriter.h"

namespace {

const char kUsage[] =
    "usage: kyl_songc SOURCE.song [OUTPUT] [-o OUTPUT] [--midi SONG.mid [--tolerance T]]\n"
    "                 [--export-midi OUT.mid]\n"
    "Compiles the song source SOURCE.song into the song file OUTPUT.\n"
    "  --midi SONG.mid        take the order lists and patterns from a MIDI file;\n"
    "                         SOURCE.song gives the set-up and the song header\n"
    "  --tolerance T          move MIDI events up to T ticks off the song's tick grid\n"
    "                         onto it (0 to 0.5, default 0.25)\n"
    "  --export-midi OUT.mid  write the song's order lists and patterns as a MIDI file\n";

struct Command {
  std::string source, output, midi, exportMidi;
  MidiImportOptions import;
};

bool parse(int argc, const char* const* argv, Command& command, std::string& error) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= argc) {
        error = arg + " needs a value";
        return false;
      }
      out = argv[++i];
      return true;
    };
    if (arg == "-o" || arg == "--output") {
      if (!value(command.output)) return false;
    } else if (arg == "--midi") {
      if (!value(command.midi)) return false;
    } else if (arg == "--export-midi") {
      if (!value(command.exportMidi)) return false;
    } else if (arg == "--tolerance") {
      std::string text;
      if (!value(text)) return false;
      char* end = nullptr;
      const double tolerance = std::strtod(text.c_str(), &end);
      if (text.empty() || *end != '\0' || !(tolerance >= 0.0 && tolerance <= 0.5)) {
        error = "--tolerance takes ticks from 0 to 0.5, not '" + text + "'";
        return false;
      }
      command.import.tolerance = tolerance;
    } else if (arg.size() > 1 && arg[0] == '-') {
      error = "unknown option " + arg;
      return false;
    } else if (command.source.empty()) {
      command.source = arg;
    } else if (command.output.empty()) {
      command.output = arg;
    } else {
      error = "unexpected argument '" + arg + "'";
      return false;
    }
  }
  if (command.source.empty())
    error = "no song source given";
  else if (command.output.empty() && command.exportMidi.empty())
    error = "no output given";
  return error.empty();
}

// Writes the whole file or nothing.
bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  out.close();
  if (out) return true;
  std::fprintf(stderr, "kyl_songc: cannot write %s\n", path.c_str());
  std::remove(path.c_str());
  return false;
}

// "dir/brumtakt.song" -> "brumtakt"
std::string titleOf(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const size_t dot = name.rfind('.');
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

}  // namespace

int runSongcCommand(int argc, const char* const* argv) {
  Command command;
  std::string error;
  if (!parse(argc, argv, command, error)) {
    std::fprintf(stderr, "kyl_songc: %s\n%s", error.c_str(), kUsage);
    return 2;
  }
  try {
    CompiledSong song = compileSong(SourceText::fromFile(command.source));
    if (!command.midi.empty()) {
      importMidi(readMidiFile(command.midi), command.midi, *song.song, command.import);
      song.image = writeSongFile(*song.synth, *song.song);
    }
    if (!command.output.empty() && !writeFile(command.output, song.image)) return 1;
    if (!command.exportMidi.empty() &&
        !writeFile(command.exportMidi,
                   writeMidiFile(exportMidi(*song.song, titleOf(command.source)))))
      return 1;
  } catch (const SourceError& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  } catch (const MidiError& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kyl_songc: %s\n", e.what());
    return 1;
  }
  return 0;
}
