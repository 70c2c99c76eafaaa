#include "core/files/TireFile.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <utility>

#include "core/document/EditorDocument.h"
#include "core/files/NumberText.h"
#include "core/files/TextHelpers.h"
#include "core/platform/PlatformFile.h"

namespace dyno {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A line of nothing but its line end: the usual end of a section's samples.
bool IsEmptyLine(std::string_view piece) {
  return std::all_of(piece.begin(), piece.end(), [](char c) { return c == '\r' || c == '\n'; });
}

// True when a line starts the samples. On a name line a "Data:" after the
// line's first "=" is part of the name: a curve named "Data: wet" would
// otherwise start its samples on its name line, and since the name line is
// written before the step, the curve would lose its samples every time it
// is saved and read again.
bool StartsData(std::string_view line) {
  const auto data = line.find("Data:");
  if (data == std::string_view::npos) return false;
  return line.find("Name=") == std::string_view::npos || data < line.find('=');
}

// ReadUnblankedDecimal of a sample. The samples a tire file holds are mostly
// "%0.6f" of values below 10, "d.dddddd": such a sample's eight bytes are
// checked and its seven digits gathered at once, in a 64-bit word, where the
// byte-by-byte loop takes a turn for each. The same exact integer divided by
// the same power of ten: the same double.
double ReadSample(const char* p, const char* const end, const char*& stop) {
  if constexpr (std::endian::native == std::endian::little) {
    if (end - p >= 8) {
      std::uint64_t bytes = 0;
      std::memcpy(&bytes, p, 8);
      const std::uint64_t values = bytes ^ 0x3030303030303030u;  // a digit's byte becomes its value
      // Bit 7 of each byte that is no digit. Adding may carry only out of
      // such a byte, into the bytes after it: those before are exact.
      const std::uint64_t other = (values | (values + 0x7676767676767676u)) & 0x8080808080808080u;
      const bool ended = end - p == 8 || (number_detail::DigitValue(p[8]) > 9 && (p[8] | 0x20) != 'e');
      if (other == 0x8000u && p[1] == '.' && ended) {  // the second byte, a point, alone is no digit
        // The digits without the point, the first in the second byte, then
        // combined pairwise: two digits a byte, four, eight.
        std::uint64_t digits = ((values & 0xFFu) | ((values >> 8) & ~std::uint64_t{0xFF})) << 8;
        digits = (digits * 10 + (digits >> 8)) & 0x00FF00FF00FF00FFu;
        digits = (digits * 100 + (digits >> 16)) & 0x0000FFFF0000FFFFu;
        digits = (digits * 10000 + (digits >> 32)) & 0xFFFFFFFFu;
        stop = p + 8;
        return static_cast<double>(static_cast<std::int64_t>(digits)) / 1e6;
      }
    }
  }
  return ReadUnblankedDecimal(p, end, stop);
}

// ParseSampleLine of a line without NUL.
int TakeSamples(SlipCurve& curve, std::string_view line) {
  if (line.empty() || !IsDigit(line[0])) return -1;
  // The tokens NthToken gives for n = 0, 1, 2, ..., in one pass: each starts
  // after the blank that ended the one before. A number holds no blank, so
  // a token is read in place and its end sought from where its number
  // stopped; one that starts with a blank, which the conversion would skip,
  // is cut out first.
  int taken = 0;
  if (line.size() < 3) return taken;
  const char* const end = line.data() + line.size();
  int count = curve.SampleCount;  // kept in a register across the conversions
  for (const char* start = line.data(); *start != ' '; ++start) {  // an empty token ends the samples
    const bool read = count < MaxFileSlipSamples;
    const char* tokenEnd = start;
    if (!read || IsNumberBlank(*start)) {
      tokenEnd = std::find(start, end, ' ');
      if (read) curve.Samples[count++] = DecimalToDouble({start, tokenEnd});
    } else {
      curve.Samples[count++] = ReadSample(start, end, tokenEnd);
      while (tokenEnd < end && *tokenEnd != ' ') ++tokenEnd;
    }
    ++taken;
    start = tokenEnd;
    if (start == end || start + 1 == end) break;
  }
  curve.SampleCount = count;
  return taken;
}

}  // namespace

std::string_view NthToken(std::string_view line, int n) {
  if (line.size() < 3) return {};
  std::size_t start = 0;
  for (int blank = 0; blank < n; ++blank) {
    const auto at = line.find(' ', start);
    if (at == std::string_view::npos) return {};
    start = at + 1;
  }
  const auto end = std::min(line.find(' ', start), line.size());
  return line.substr(start, end - start);
}

int ParseSampleLine(EditorDocument& doc, std::string_view line, int slot) {
  return TakeSamples(doc.SlipCurves[slot], UpToNul(line));
}

bool ParseSlipCurve(EditorDocument& doc, int slot, int* leftOut) {
  SlipCurve& curve = doc.SlipCurves[slot];
  curve.SampleCount = 0;
  int samples = 0;  // in the file, the skipped ones too
  bool data = false;
  const std::string_view text = doc.TireText;
  std::size_t nul = text.find('\0');  // sought again only once a line is past it
  while (doc.TireTextPos < doc.TireTextSize()) {
    const int lineStart = doc.TireTextPos;
    const std::string_view piece = ReadTextLine(text, doc.TireTextPos);
    if (nul < static_cast<std::size_t>(lineStart)) nul = text.find('\0', static_cast<std::size_t>(lineStart));
    std::string_view line = piece.substr(0, nul - static_cast<std::size_t>(lineStart));

    // The header keys are found anywhere in a line, each independently. A
    // line of samples holds neither their '=' nor the ':' of "Data:", and
    // two searches for those spare it the search for each key.
    if (line.find('=') != std::string_view::npos) {
      if (LineContains(line, "Name=")) curve.Name = ValueAfterEquals(line).substr(0, MaxSlipNameLength);
      if (LineContains(line, "Step=")) curve.Step = DecimalToDouble(ValueAfterEquals(line));
      if (LineContains(line, "DropoffFunction=")) curve.DropoffFunction = DecimalToDouble(ValueAfterEquals(line));
    }
    if (line.find(':') != std::string_view::npos && StartsData(line)) {
      data = true;
      continue;
    }
    if (piece == SlipCurveHeader) {
      doc.TireTextPos = lineStart;  // the next section starts here
      break;
    }
    if (!data) continue;  // an unknown line before the samples is dropped

    if (line.ends_with(" \r\n")) line.remove_suffix(3);
    const int taken = TakeSamples(curve, line);
    if (taken > 0) {
      samples += taken;
      continue;
    }
    // The samples have ended. An empty line belongs to the section and is
    // consumed; any other line is left to be kept as text, so that saving
    // does not lose it.
    if (!IsEmptyLine(piece)) doc.TireTextPos = lineStart;
    break;
  }
  doc.RowCount = std::max(doc.RowCount, curve.SampleCount);
  doc.TireTailPos = doc.TireTextPos;
  if (leftOut) *leftOut = samples - curve.SampleCount;
  return data;
}

int ParseTireText(EditorDocument& doc, std::array<int, SlipCurveSlots>* leftOut) {
  doc.TireParsed = true;
  ResetSlipCurves(doc);
  // Nothing of an earlier file may show beyond the samples this one fills,
  // nor stand for a name, step or drop-off its sections do not give: saving
  // writes them into this file.
  for (SlipCurve& curve : doc.SlipCurves) {
    std::fill(curve.Samples.begin() + DefaultSlipSamples, curve.Samples.end(), 0.0);
    curve.Name.clear();
    curve.Step = 0.0;
    curve.DropoffFunction = 0.0;
  }

  std::string().swap(doc.TireOtherText);
  doc.TireOtherText.reserve(doc.TireText.size() + 5);
  doc.SlipCurveCount = 0;
  doc.TireSectionCount = 0;
  doc.TireTextPos = 0;
  doc.TireTailPos = 0;
  doc.CurrentSlipCurve = 0;

  while (doc.TireTextPos < doc.TireTextSize()) {
    const int lineStart = doc.TireTextPos;
    const std::string_view piece = ReadTextLine(doc.TireText, doc.TireTextPos);
    if (piece == SlipCurveHeader && doc.SlipCurveCount < SlipCurveSlots) {
      // A section without samples is not counted: the next one reuses its slot.
      int skipped = 0;
      if (ParseSlipCurve(doc, doc.CurrentSlipCurve, &skipped)) {
        if (leftOut) (*leftOut)[doc.CurrentSlipCurve] = skipped;
        doc.TireSections[static_cast<std::size_t>(doc.TireSectionCount++)] = {lineStart, doc.TireTextPos};
        ++doc.SlipCurveCount;
        ++doc.CurrentSlipCurve;
      }
    } else {
      doc.TireOtherText += piece;
    }
  }
  doc.CurrentSlipCurve = 0;
  return doc.SlipCurveCount > 0 ? 1 : 0;
}

ReadOutcome ReadTireFile(EditorDocument& doc, const std::string& path) {
  std::string bytes;
  const FileReadResult read = ReadFileBytes(path, bytes);
  // A pipe, a device or a file too large for the editor changes nothing:
  // the curves shown must stay those of the text kept for saving.
  if (read.Status == ReadStatus::CannotOpen) return {ReadResult::CannotOpen, read.Error};
  if (read.Status == ReadStatus::CannotRead) return {ReadResult::CannotRead, read.Error};
  FileStamp stamp = StampOfBytes(path, bytes);
  ReadOutcome outcome = ReadTireBytes(doc, std::move(bytes));
  outcome.Stamp = std::move(stamp);
  return outcome;
}

ReadOutcome ReadTireBytes(EditorDocument& doc, std::string bytes) {
  ReplaceText(doc, KeptText::Tire, std::move(bytes));
  doc.TireTextPos = 0;
  ReadOutcome outcome{ReadResult::NothingFound, 0};
  if (ParseTireText(doc, &outcome.SamplesLeftOut) == 1) outcome.Result = ReadResult::Read;
  doc.TireLoaded = true;
  return outcome;
}

}  // namespace dyno
