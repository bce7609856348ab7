// Pattern rows in tracker notation: one source line is one row, its note
// columns separated by '|', each column "NOTE VELOCITY COMMAND ARGUMENT"
// with the last three optional, e.g.
//
//   C-3 7F .. ..  | E-3 60  | off
//
// Velocity, command and argument are two hexadecimal digits ('..' for
// none); a note without a velocity takes the block's default velocity.
#pragma once

#include <cstdint>
#include <vector>

#include "songc/SourceText.h"
#include "synth/Song.h"

// Whether a statement is a row line (its first word is a note or a '|').
bool isRowLine(const SourceLine& line);

PatternRow parseRow(const SourceLine& line, uint8_t defaultVelocity);

// Adds semitones to every note (not to releases); a note pushed out of 1 to
// 254 is an error reported at line.
void transposeRows(std::vector<PatternRow>& rows, int semitones, const SourceLine& line);
