// Fuzz target: any bytes, read (every value finite, within the limits),
// written and read again, once as an engine
// file (in Engine and in Upgrade mode, and through the composed text that
// the parameter dialog and Generate leave) and once as a tire file.
//
// What the writers promise, and so what is checked:
// - Outside what they replace, every byte is kept: an engine file's line
//   pieces other than its torque rows; a tire file's text before the first
//   section and after the last section read. A tire file's curves are
//   written with the line end of its first section header.
// - The second read gives the same rows, parameters and slip curves, each
//   number as its written text gives it back (rows "%.1f", steps "%0.5f",
//   drop-off values "%0.1f", samples "%0.6f", parameters by their formats;
//   magnitudes beyond MaxFileValue written as that limit).
// - Writing the second read again gives the same bytes.
//
// The exceptions follow from the readers' own rules, which saving keeps;
// each is recognised precisely and only it is exempt:
// - A parameter is looked up anywhere in the text, so the parameters are
//   compared only when the text the writer replaces (the row pieces) holds
//   no parameter key and no NUL byte and consists of whole lines.
// - In a composed text a parameter whose line is longer than one line piece
//   (a long comment read from a file) reads back only its first 255 bytes;
//   and a comment holding a parameter's key can hide that parameter, so the
//   parameters of such a text are not compared.
// - A comment read from a line that was both a parameter and a torque row
//   holds the row's key, so in a composed text its parameter line is a row
//   again: it reads as one more row after the composed ones.
// - Every number of a slip curve's data lines is a sample read back (as its
//   six decimals give it back) or kept as text where it stood and reported
//   when the file was opened; comments after the header values stay.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "core/document/EditorDocument.h"
#include "core/document/Limits.h"
#include "core/files/ComposeFile.h"
#include "core/files/EngineFile.h"
#include "core/files/EngineParameters.h"
#include "core/files/NumberFormat.h"
#include "core/files/NumberText.h"
#include "core/files/ReadBack.h"
#include "core/files/TextHelpers.h"
#include "core/files/TireFile.h"
#include "support/TireNumbers.h"

using namespace dyno;

namespace {

// The line pieces of a text as the editor's line reader delivers them: up to
// and including an LF, at most 255 bytes, the last one up to the end. Written
// apart from the reader on purpose, so that checks do not share its faults.
constexpr std::size_t PieceLength = LineBufferSize - 1;
struct Piece {
  std::size_t start = 0;
  std::string_view bytes;
};

// An engine file of CRs and no LF ends its lines at each CR.
bool CrAloneEndsLines(std::string_view text) {
  return std::ranges::count(text, '\n') == 0 && std::ranges::count(text, '\r') > 0;
}

std::vector<Piece> Pieces(std::string_view text, bool crAlone = false) {
  std::vector<Piece> pieces;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t length = 0;
    while (pos + length < text.size() && length < PieceLength) {
      const std::size_t i = pos + length++;
      if (text[i] == '\n') break;
      if (crAlone && text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) break;
    }
    pieces.push_back({pos, text.substr(pos, length)});
    pos += length;
  }
  return pieces;
}

// True when a piece is a torque row: the key before any NUL byte.
bool IsRowPiece(std::string_view piece) { return UpToNul(piece).find("RPMTorque=(") != std::string_view::npos; }

// What a writer put between the text it keeps before and after.
std::string_view Between(std::string_view written, std::string_view before, std::string_view after) {
  FUZZ_CHECK(written.size() >= before.size() + after.size());
  FUZZ_CHECK(written.starts_with(before) && written.ends_with(after));
  return written.substr(before.size(), written.size() - before.size() - after.size());
}

// A number as its written text gives it back.
double AsWritten(int decimals, double value) { return DecimalToDouble(FixedText(FileValue(value), decimals)); }

bool HasParameterKey(std::string_view text) {
  const auto inText = [&](const EngineParameterSpec& spec) { return text.find(spec.Key) != std::string_view::npos; };
  return std::ranges::any_of(EngineParameterSpecs, inText);
}

// How far a parameter value may move by being written with its format.
double ParameterTolerance(double value, int position) {
  const double v = std::fabs(value);
  if (v == 0.0) return 0.0;
  const double tolerance = v < 0.001                                 ? v * (position == 2 ? 5.01e-5 : 5.01e-4) + 1e-300
                           : v < 1.0                                 ? (position == 0 ? 5.01e-6 : 5.01e-5)
                           : v <= 2147483647.0 && v == std::trunc(v) ? 0.0
                           : position == 0                           ? 0.00501
                                                                     : 0.0000501;
  return tolerance + v * 1e-15;
}

// What any read promises: finite values, at most 500 rows, and comments
// that are one line piece from their "//" on.
struct EngineRead {
  explicit EngineRead(std::string_view bytes, bool upgrade) {
    doc.EngineText.assign(bytes);
    doc.Mode = upgrade ? FileMode::Upgrade : FileMode::Engine;
    doc.EngineLoaded = true;
    const int rows = ParseEngineRows(doc);
    FUZZ_CHECK(rows >= 0 && rows <= MaxEngineRows && doc.RowCount == rows && doc.Engine.EngineRowCount == rows);
    for (int i = 0; i < rows; ++i) {
      const TorqueRow row = doc.Engine.Row(i);
      FUZZ_CHECK(std::isfinite(row.Rpm) && std::isfinite(row.Compression) && std::isfinite(row.Torque));
      FUZZ_CHECK(row.Power == PowerOf(row.Rpm, row.Torque));
    }
    if (upgrade) return;
    ReadEngineParameters(doc);
    for (const EngineParameter& parameter : doc.Parameters.Items) {
      for (int v = 0; v < parameter.ValueCount(); ++v) FUZZ_CHECK(std::isfinite(parameter.Values[v]));
      const std::string& comment = parameter.Comment;
      FUZZ_CHECK(comment.empty() || comment.starts_with("//"));
      FUZZ_CHECK(comment.find_first_of(std::string("\r\n\0", 3)) == std::string::npos);
    }
  }
  EditorDocument doc;
};

void EngineRoundTrip(std::string_view bytes, bool upgrade) {
  EngineRead first(bytes, upgrade);
  const int rows = first.doc.RowCount;
  const std::string written = ComposeEngineFile(first.doc);

  // Every piece that is not a row is kept; the rows stand where the first row
  // piece stood, one line each (after a line end where that piece continued
  // a line far enough for a row to reach past its end), and nothing else is
  // new. A file of CR line ends gets rows ended by CR.
  const bool crAlone = CrAloneEndsLines(bytes);
  const std::vector<Piece> pieces = Pieces(bytes, crAlone);
  std::size_t firstRow = pieces.size();
  std::string kept;
  bool rowsAreWholeLines = true;
  for (std::size_t k = 0; k < pieces.size(); ++k) {
    const std::string_view piece = pieces[k].bytes;
    if (!IsRowPiece(piece)) {
      if (firstRow < pieces.size()) kept += piece;
      continue;
    }
    if (firstRow == pieces.size()) firstRow = k;
    const auto endsLine = [&](std::string_view p) { return p.ends_with('\n') || (crAlone && p.ends_with('\r')); };
    rowsAreWholeLines &= (k == 0 || endsLine(pieces[k - 1].bytes)) && (endsLine(piece) || k + 1 == pieces.size()) &&
                         piece.find('\0') == std::string_view::npos && !HasParameterKey(piece);
  }
  if (firstRow == pieces.size()) {
    FUZZ_CHECK(rows == 0 && written == bytes);
  } else {
    const std::string_view prefix = bytes.substr(0, pieces[firstRow].start);
    std::string_view block = Between(written, prefix, kept);
    const std::string_view lineEnd = crAlone ? "\r" : "\r\n";
    if (rows > 0 && !block.starts_with("RPMTorque") && !block.starts_with("HDV")) {
      FUZZ_CHECK(block.starts_with(lineEnd));
      block.remove_prefix(lineEnd.size());
    }
    const std::string_view start = upgrade ? "HDV=RPMTorque=( " : "RPMTorque=( ";
    const std::vector<Piece> lines = Pieces(block, crAlone);
    FUZZ_CHECK(lines.size() == static_cast<std::size_t>(rows));
    for (const Piece& line : lines) {
      FUZZ_CHECK(line.bytes.starts_with(start) && line.bytes.ends_with(")" + std::string(lineEnd)));
    }
  }

  // The check before every save passes, the parameters' too where the rows
  // hide none.
  const std::optional<std::string> difference = EngineReadBackDifference(first.doc, written);
  // Only a parameter, found where the save drops it, may read otherwise.
  FUZZ_CHECK(!difference || (!rowsAreWholeLines && !difference->starts_with("row ") &&
                             !difference->starts_with("it would hold")));
  EngineRead second(written, upgrade);
  FUZZ_CHECK(ComposeEngineFile(second.doc) == written);

  if (upgrade) return;

  // The composed text, as the parameter dialog's OK and Generate leave it.
  const EngineParameterSet parameters = first.doc.Parameters;
  bool commentsHoldKeys = false;
  int commentsHoldingRows = 0;
  for (const EngineParameter& parameter : parameters.Items) {
    commentsHoldKeys |= HasParameterKey(parameter.Comment);
    const auto isRow = [](const Piece& piece) { return IsRowPiece(piece.bytes); };
    commentsHoldingRows += static_cast<int>(std::ranges::count_if(Pieces(FormatParameterLine(parameter)), isRow));
  }
  ComposeAndKeepEngineText(first.doc);
  EngineRead again(first.doc.EngineText, false);
  // Its rows are the rows of the first read as written, and as many as expected.
  const int expectedRows = std::min(rows + commentsHoldingRows, MaxEngineRows);
  FUZZ_CHECK(again.doc.RowCount == expectedRows);
  for (int i = 0; i < std::min(rows, expectedRows); ++i) {
    FUZZ_CHECK(again.doc.Engine.Rpm[i] == AsWritten(1, first.doc.Engine.Rpm[i]));
    FUZZ_CHECK(again.doc.Engine.Compression[i] == AsWritten(1, first.doc.Engine.Compression[i]));
    FUZZ_CHECK(again.doc.Engine.Torque[i] == AsWritten(1, first.doc.Engine.Torque[i]));
  }
  for (int p = 0; p < EngineParameterCount; ++p) {
    const EngineParameter& a = parameters.Items[p];
    const EngineParameter& b = again.doc.Parameters.Items[p];
    const std::string line = FormatParameterLine(a);
    if (commentsHoldKeys || line.size() > PieceLength) continue;
    for (int v = 0; v < a.ValueCount(); ++v) {
      FUZZ_CHECK(b.Values[v] == DecimalToDouble(FormatParameterValue(a.Values[v], v)));
      const double limited = FileValue(a.Values[v]);
      FUZZ_CHECK(std::fabs(b.Values[v] - limited) <= ParameterTolerance(limited, v));
    }
    FUZZ_CHECK(b.Comment == (a.Comment.empty() ? std::string(a.Spec->DefaultComment) : a.Comment));
  }
}

struct TireRead {
  explicit TireRead(std::string_view bytes) {
    doc.Mode = FileMode::Tire;
    doc.TireText.assign(bytes);
    FUZZ_CHECK(ParseTireText(doc, &read) == (doc.SlipCurveCount > 0 ? 1 : 0));
    for (int slot = 0; slot < SlipCurveSlots; ++slot) {
      const SlipCurve& curve = doc.SlipCurves[slot];
      const int used = slot < doc.SlipCurveCount ? curve.SampleCount : 0;
      FUZZ_CHECK(used >= 0 && used <= MaxFileSlipSamples && curve.Name.size() <= MaxSlipNameLength);
      FUZZ_CHECK(std::isfinite(curve.Step) && std::isfinite(curve.DropoffFunction));
      // Nothing of an earlier file shows beyond the samples read.
      for (int i = 0; i < MaxSlipSamples; ++i) {
        FUZZ_CHECK(i < used ? std::isfinite(curve.Samples[i]) : curve.Samples[i] == 0.0);
      }
    }
  }
  EditorDocument doc;
  ReadOutcome read;
};

void TireRoundTrip(std::string_view bytes) {
  TireRead first(bytes);
  const EditorDocument& doc = first.doc;
  const int curves = doc.SlipCurveCount;
  ComposeTireFile(first.doc);
  const std::string written = doc.TireOtherText;

  // Where no curve was read, nothing is replaced.
  FUZZ_CHECK(curves > 0 || written == bytes);
  if (curves == 0) return;

  // Within sections that hold a NUL byte, a CR alone or a line longer than
  // a line piece, the reading by line pieces and C strings that files have
  // always had decides what a line is, and a save may cut such a line
  // otherwise: there only the check before every save is promised, which
  // refuses a save that would lose samples (so nothing is lost unasked) and
  // asks about values that would read otherwise.
  const int begin = doc.TireSections[0].Begin;
  const std::string_view sectionsText = bytes.substr(begin, doc.TireSections[doc.TireSectionCount - 1].End - begin);
  bool odd = sectionsText.find('\0') != std::string_view::npos;
  std::size_t lineStart = 0;
  for (std::size_t i = 0; i < sectionsText.size() && !odd; ++i) {
    odd = (sectionsText[i] == '\r' && (i + 1 == sectionsText.size() || sectionsText[i + 1] != '\n')) ||
          i - lineStart >= PieceLength;
    if (sectionsText[i] == '\n') lineStart = i + 1;
  }
  if (odd) return;

  // Every byte outside the sections read stays where it stood; each
  // section gives way to its curve, as the curves are written together.
  const int sections = doc.TireSectionCount;
  FUZZ_CHECK(sections == curves);
  first.doc.TireOtherText.clear();
  ComposeSlipCurves(first.doc);
  const std::string block = first.doc.TireOtherText;
  // Each composed section stands, in the bytes written, where its section
  // stood: what a second read finds between them is what the first found.
  TireRead second(written);
  FUZZ_CHECK(second.doc.TireSectionCount == sections);
  int kept = 0;
  int keptAgain = 0;
  bool unread = false;  // text not read, put back on a data line
  for (int k = 0; k < sections; ++k) {
    const EditorDocument::TextSpan& section = doc.TireSections[k];
    const EditorDocument::TextSpan& again = second.doc.TireSections[k];
    FUZZ_CHECK(section.Begin >= kept && section.End > section.Begin);
    FUZZ_CHECK(IsSlipCurveHeader(bytes.substr(section.Begin, SlipCurveHeader.size())) ||
               IsSlipCurveHeader(bytes.substr(section.Begin, SlipCurveHeader.size() - 1)));
    FUZZ_CHECK(bytes.substr(kept, section.Begin - kept) ==
               std::string_view(written).substr(keptAgain, again.Begin - keptAgain));
    kept = section.End;
    keptAgain = again.End;
    unread |= !SlipSectionTextAt(bytes, section.Begin).Unread.empty();
  }
  FUZZ_CHECK(bytes.substr(kept) == std::string_view(written).substr(keptAgain));

  // Every data line ends in the file's line end; samples are separated by
  // single blanks, except where text not read was put back on a line.
  const std::string_view eol = bytes.substr(begin).starts_with("[SLIPCURVE]\n") ? "\n" : "\r\n";
  for (const Piece& piece : Pieces(block)) {
    const std::string_view line = piece.bytes;
    FUZZ_CHECK(line.ends_with(eol) || line.size() == PieceLength);
    if (!unread && !line.starts_with("Data:") && line.find('=') == std::string_view::npos) {
      FUZZ_CHECK(!line.starts_with(' ') && line.find("  ") == std::string_view::npos);
    }
  }
  // The check before every save finds nothing to refuse, and every number
  // of the data lines is a sample again or kept as text and reported. The
  // header keys are found anywhere in a section's lines, so a file that
  // scatters them (a name on a "Data:" line, a step among other text) may
  // read a name, step, drop-off or comment otherwise once the writer has put
  // each key on a line of its own: the check lists that and the user is
  // asked. Samples always come back, and nothing is ever lost.
  const ReadBackReport report = TireReadBack(doc, written);
  FUZZ_CHECK(!report.Loss.has_value());
  for (const std::string& change : report.Changes) {
    FUZZ_CHECK(change.starts_with("the name of ") || change.starts_with("the step of ") ||
               change.starts_with("the drop-off of ") || change.starts_with("the comments or the text not read of "));
  }
  FUZZ_CHECK(test::LostNumbers(bytes, doc, first.read, written).empty());
  ComposeTireFile(second.doc);
  FUZZ_CHECK(!report.Changes.empty() || second.doc.TireOtherText == written);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  EngineRoundTrip(bytes, false);
  EngineRoundTrip(bytes, true);
  TireRoundTrip(bytes);
  return 0;
}
