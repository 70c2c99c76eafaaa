#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/files/ReadResult.h"

namespace dyno {

struct EditorDocument;

// The line that starts a slip curve section, byte for byte, as the editor
// writes it into a CR LF file.
inline constexpr std::string_view SlipCurveHeader = "[SLIPCURVE]\r\n";

// True for a line piece that starts a section: "[SLIPCURVE]" and a line end,
// CR LF or, in a file with LF line ends, LF alone.
bool IsSlipCurveHeader(std::string_view piece);

// Text of a section's data lines that is not read as samples: what follows
// the first token of a line that is no number ("0.5 0.6 n/a 0.7" leaves
// "n/a 0.7"), or a whole line that holds "Data:" again. Saving writes it
// back where it stood: after the sample it followed, on the same line, or
// as a line of its own.
struct UnreadText {
  int After = 0;           // samples of the curve before it
  int Pos = 0;             // where it starts in the text
  std::string_view Text;   // without the line end, unless WholeLine
  bool WholeLine = false;  // a line of its own, with its line end
};

// What a section holds besides its values, which saving keeps: the text
// after each header value on its line (a comment, say) and after "Data:",
// and the unread text of its data lines. Views into the text read.
struct SlipSectionText {
  std::string_view NameTail;     // from the blanks before a "//" after the name
  std::string_view StepTail;     // after the step's number
  std::string_view DropoffTail;  // after the drop-off's number
  std::string_view DataTail;     // after "Data:"
  std::vector<UnreadText> Unread;
};

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
// unchanged. Returns 1 when at least one curve was read, else 0. When read is
// given, it gets the samples each curve's section holds beyond the 261 read
// and the text of the data lines that was not read.
int ParseTireText(EditorDocument& doc, ReadOutcome* read = nullptr);

// Parses the lines after a section header, from TireTextPos, into the slot;
// stops before the next header or after the line that ends the samples, and
// leaves TireTailPos there. Returns true when the section had a "Data:" line
// ("Data:" in the name of a "Name=" line, after its "=", does not count).
// The samples beyond the 261 read are counted into leftOut, and what the
// section holds besides its values goes into kept, when given.
//
// The samples are every number of the lines after "Data:", separated by
// runs of blanks or tabs, after leading blanks, with an optional sign. The
// samples end at an empty line (consumed), at a section header, and at a
// line whose first token is no number (left as text); a line holding "Data:"
// again is kept as it is.
bool ParseSlipCurve(EditorDocument& doc, int slot, int* leftOut = nullptr, SlipSectionText* kept = nullptr);

// What ParseSlipCurve keeps of the section that starts at begin (its header
// line) in text: for saving, which writes it back around the current curve.
SlipSectionText SlipSectionTextAt(std::string_view text, int begin);

// Appends the samples of a data line to the slot, at most 261 per slot: the
// samples beyond are skipped. Returns -1 when the line's first token is no
// number, otherwise how many samples the line holds, the skipped ones
// included; the reading stops at a token that is no number.
int ParseSampleLine(EditorDocument& doc, std::string_view line, int slot);

// The n-th (from 0) blank-separated token of line: it starts at the line's
// start or right after its n-th blank and runs to the next blank or the end
// of the line, line end included. Empty when there are fewer than n blanks,
// when two blanks meet, and for lines shorter than 3 characters.
std::string_view NthToken(std::string_view line, int n);

}  // namespace dyno
