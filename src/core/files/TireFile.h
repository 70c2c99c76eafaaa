#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/files/ReadResult.h"

namespace dyno {

struct EditorDocument;

// The line that starts a slip curve section, byte for byte.
inline constexpr std::string_view SlipCurveHeader = "[SLIPCURVE]\r\n";

// Reads the tire file at path: its bytes become TireText and its slip curve
// sections the four slots. Read when at least one curve was read,
// NothingFound when none was; CannotOpen or CannotRead when the bytes could
// not be had (nothing changed). Sets TireLoaded when the bytes were read.
ReadOutcome ReadTireFile(EditorDocument& doc, const std::string& path);

// ReadTireFile of a file holding bytes.
ReadOutcome ReadTireBytes(EditorDocument& doc, std::string bytes);

// Parses TireText from its start into the slots, keeping every line outside
// the sections in TireOtherText. Only four sections are read; a fifth and any
// later one stay ordinary text, after TireTailPos, so that saving copies them
// unchanged. Returns 1 when at least one curve was read, else 0. The samples
// each curve's section holds beyond the 261 read go into leftOut when given.
int ParseTireText(EditorDocument& doc, std::array<int, SlipCurveSlots>* leftOut = nullptr);

// Parses the lines after a section header, from TireTextPos, into the slot;
// stops before the next header or after the line that ends the samples, and
// leaves TireTailPos there. Returns true when the section had a "Data:" line
// ("Data:" in the name of a "Name=" line, after its "=", does not count).
// The samples beyond the 261 read are counted into leftOut when given.
bool ParseSlipCurve(EditorDocument& doc, int slot, int* leftOut = nullptr);

// Appends the blank-separated samples of a data line to the slot, at most 261
// per slot: the samples beyond are skipped. Returns -1 when the line does not
// start with a digit, otherwise how many samples the line holds (0 when its
// first token is empty), the skipped ones included.
int ParseSampleLine(EditorDocument& doc, std::string_view line, int slot);

// The n-th (from 0) blank-separated token of line: it starts at the line's
// start or right after its n-th blank and runs to the next blank or the end
// of the line, line end included. Empty when there are fewer than n blanks,
// when two blanks meet, and for lines shorter than 3 characters.
std::string_view NthToken(std::string_view line, int n);

}  // namespace dyno
