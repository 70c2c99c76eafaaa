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

// What separates samples: blanks and tabs, and the other bytes the number
// conversion skips, except the line end.
bool IsSampleSeparator(char c) { return c != '\n' && IsNumberBlank(c); }

// Appends the numbers of a data line (without its line end) to the curve, at
// most 261 in all. Returns -1 when the line's first token is no number (or
// the line is blank), else how many numbers the line holds, the skipped ones
// included. The reading stops at a token that is no number: rest gets the
// text from there to the line's end.
// Whether the number read from p to stop fills its token: then it is a sample.
bool FillsToken(const char* p, const char* stop, const char* end) {
  return stop != p && (stop == end || IsSampleSeparator(*stop));
}

int TakeSamples(SlipCurve& curve, std::string_view line, std::string_view* rest = nullptr) {
  const char* p = line.data();
  const char* const end = p + line.size();
  int taken = 0;
  int count = curve.SampleCount;  // kept in a register across the conversions
  for (;;) {
    while (p < end && IsSampleSeparator(*p)) ++p;
    if (p == end) break;
    const char* stop = p;
    const double value = ReadSample(p, end, stop);
    if (!FillsToken(p, stop, end)) {
      if (taken == 0) return -1;
      if (rest) *rest = std::string_view(p, static_cast<std::size_t>(end - p));
      break;
    }
    if (count < MaxFileSlipSamples) curve.Samples[count++] = value;
    ++taken;
    p = stop;
  }
  if (taken == 0) return -1;
  curve.SampleCount = count;
  return taken;
}

// Whether TakeSamples would take a sample from line: its first token is a
// number.
bool LineStartsWithSample(std::string_view line) {
  const char* p = line.data();
  const char* const end = p + line.size();
  while (p < end && IsSampleSeparator(*p)) ++p;
  if (p == end) return false;
  const char* stop = p;
  ReadSample(p, end, stop);
  return FillsToken(p, stop, end);
}

// The whole line from pos, up to and including its LF (or the text's end):
// a data line is read whole, so that no number is split where a long line
// is cut into pieces.
std::string_view WholeLine(std::string_view text, int pos) {
  const auto lf = text.find('\n', static_cast<std::size_t>(pos));
  const std::size_t end = lf == std::string_view::npos ? text.size() : lf + 1;
  return text.substr(static_cast<std::size_t>(pos), end - static_cast<std::size_t>(pos));
}

// A line without its line end (LF, or CR LF).
std::string_view WithoutLineEnd(std::string_view line) {
  if (line.ends_with('\n')) line.remove_suffix(1);
  if (line.ends_with('\r')) line.remove_suffix(1);
  return line;
}

// The text after a header's number on its line: where the number ends (or,
// with no number, the whole value).
std::string_view AfterNumber(std::string_view value) {
  const char* stop = value.data();
  ReadDecimal(value.data(), value.data() + value.size(), stop);
  return value.substr(static_cast<std::size_t>(stop - value.data()));
}

// Reads the three header keys of a line (up to a NUL) into the curve, each
// independently, and the text after each value into kept. A name ends
// before a "//" comment and the blanks before it, which stay with the
// comment.
void ReadHeaderKeys(SlipCurve& curve, std::string_view line, SlipSectionText* kept) {
  if (line.find('=') == std::string_view::npos) return;
  // On a line that also starts the samples, "Data:" and what follows it are
  // the data line's, written after the "Data:" the writer puts on its own
  // line; on any other line a "Data:" in a value's tail would begin the data
  // on the line the writer gives that value. Either way the tail ends before
  // it (the check before a save lists the text so left out).
  const auto beforeData = [](std::string_view tail) { return tail.substr(0, tail.find("Data:")); };
  if (LineContains(line, "Name=")) {
    std::string_view name = ValueAfterEquals(line);
    std::string_view tail;
    if (const auto comment = name.find("//"); comment != std::string_view::npos) {
      std::size_t cut = comment;
      while (cut > 0 && (name[cut - 1] == ' ' || name[cut - 1] == '\t')) --cut;
      tail = name.substr(cut);
      name = name.substr(0, cut);
    }
    curve.Name = name.substr(0, MaxSlipNameLength);
    if (kept) kept->NameTail = tail;
  }
  if (LineContains(line, "Step=")) {
    const std::string_view value = ValueAfterEquals(line);
    curve.Step = DecimalToDouble(value);
    if (kept) kept->StepTail = beforeData(AfterNumber(value));
  }
  if (LineContains(line, "DropoffFunction=")) {
    const std::string_view value = ValueAfterEquals(line);
    curve.DropoffFunction = DecimalToDouble(value);
    if (kept) kept->DropoffTail = beforeData(AfterNumber(value));
  }
}

// ParseSlipCurve on a text from pos, into curve.
bool ParseSection(std::string_view text, int& pos, SlipCurve& curve, int* leftOut, SlipSectionText* kept) {
  curve.SampleCount = 0;
  int samples = 0;  // in the file, the skipped ones too
  bool data = false;
  const int size = static_cast<int>(text.size());
  std::size_t nul = text.find('\0');  // sought again only once a line is past it
  while (pos < size) {
    const int lineStart = pos;
    if (data) {
      const std::string_view line = WholeLine(text, lineStart);
      pos = lineStart + static_cast<int>(line.size());
      if (IsSlipCurveHeader(line)) {
        pos = lineStart;  // the next section starts here
        break;
      }
      const std::string_view content = WithoutLineEnd(line);
      // A line of samples is samples: a key in the text after them is kept
      // with that text, not read, so that it means the same where the save
      // puts it back. Any other line's keys are read, as before the samples.
      std::string_view rest;
      const bool samplesLine = LineStartsWithSample(content);
      if (!samplesLine) ReadHeaderKeys(curve, UpToNul(content), kept);
      if (StartsData(UpToNul(content))) {
        // "Data:" again: nothing on it is read, and it is kept as it is.
        if (kept) kept->Unread.push_back({curve.SampleCount, lineStart, line, true});
        continue;
      }
      if (content.empty()) break;  // an empty line belongs to the section
      const int taken = TakeSamples(curve, content, &rest);
      if (taken > 0) {
        samples += taken;
        if (kept && !rest.empty()) {
          kept->Unread.push_back({curve.SampleCount, lineStart + static_cast<int>(rest.data() - line.data()), rest});
        }
        continue;
      }
      // A line that is no numbers ends the samples and is left to be kept
      // as text, so that saving does not lose it.
      pos = lineStart;
      break;
    }

    const std::string_view piece = ReadTextLine(text, pos);
    if (nul < static_cast<std::size_t>(lineStart)) nul = text.find('\0', static_cast<std::size_t>(lineStart));
    const std::string_view line = piece.substr(0, nul - static_cast<std::size_t>(lineStart));
    ReadHeaderKeys(curve, line, kept);
    if (line.find(':') != std::string_view::npos && StartsData(line)) {
      data = true;
      // The "Data:" line is taken whole, as the samples' lines are: what
      // follows "Data:" is written back after it on one line, however long.
      const std::string_view whole = WholeLine(text, lineStart);
      pos = lineStart + static_cast<int>(whole.size());
      if (kept) kept->DataTail = WithoutLineEnd(whole.substr(whole.find("Data:") + 5));
      continue;
    }
    if (IsSlipCurveHeader(piece)) {
      pos = lineStart;  // the next section starts here
      break;
    }
    // An unknown line before the samples is dropped.
  }
  if (leftOut) *leftOut = samples - curve.SampleCount;
  return data;
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
  return TakeSamples(doc.SlipCurves[slot], WithoutLineEnd(line));
}

bool IsSlipCurveHeader(std::string_view piece) {
  return piece == SlipCurveHeader || piece == "[SLIPCURVE]\n";
}

bool ParseSlipCurve(EditorDocument& doc, int slot, int* leftOut, SlipSectionText* kept) {
  SlipCurve& curve = doc.SlipCurves[slot];
  const bool data = ParseSection(doc.TireText, doc.TireTextPos, curve, leftOut, kept);
  doc.RowCount = std::max(doc.RowCount, curve.SampleCount);
  doc.TireTailPos = doc.TireTextPos;
  return data;
}

SlipSectionText SlipSectionTextAt(std::string_view text, int begin) {
  SlipSectionText kept;
  SlipCurve scratch;
  int pos = begin;
  ReadTextLine(text, pos);  // the header
  ParseSection(text, pos, scratch, nullptr, &kept);
  return kept;
}

namespace {

// Whether unread text after "Data:" is worth a word: anything but blanks and
// a "//" comment.
bool HoldsMoreThanComment(std::string_view tail) {
  const auto first = tail.find_first_not_of(" \t");
  return first != std::string_view::npos && tail.substr(first, 2) != "//";
}

// Tells read what of the section was not read, with the line it stands on.
void ReportUnread(std::string_view text, const SlipSectionText& kept, int slot, ReadOutcome& read) {
  std::vector<std::pair<int, std::string_view>> unread;  // where, what
  if (HoldsMoreThanComment(kept.DataTail)) {
    unread.emplace_back(static_cast<int>(kept.DataTail.data() - text.data()), kept.DataTail);
  }
  for (const UnreadText& item : kept.Unread) unread.emplace_back(item.Pos, WithoutLineEnd(item.Text));
  for (const auto& [pos, what] : unread) {
    const auto before = text.substr(0, static_cast<std::size_t>(pos));
    const int line = 1 + static_cast<int>(std::count(before.begin(), before.end(), '\n'));
    read.NotRead.push_back({slot + 1, line, std::string(what)});
  }
}

}  // namespace

int ParseTireText(EditorDocument& doc, ReadOutcome* read) {
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
    if (IsSlipCurveHeader(piece) && doc.SlipCurveCount < SlipCurveSlots) {
      // A section without samples is not counted: the next one reuses its slot.
      int skipped = 0;
      SlipSectionText kept;
      if (ParseSlipCurve(doc, doc.CurrentSlipCurve, &skipped, read ? &kept : nullptr)) {
        if (read) {
          read->SamplesLeftOut[static_cast<std::size_t>(doc.CurrentSlipCurve)] = skipped;
          ReportUnread(doc.TireText, kept, doc.CurrentSlipCurve, *read);
        }
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
  if (ParseTireText(doc, &outcome) == 1) outcome.Result = ReadResult::Read;
  doc.TireLoaded = true;
  return outcome;
}

}  // namespace dyno
