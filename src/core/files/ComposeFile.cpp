#include "core/files/ComposeFile.h"

#include <algorithm>

#include "core/document/EditorDocument.h"
#include "core/files/EngineFile.h"
#include "core/files/NumberFormat.h"
#include "core/files/TextHelpers.h"
#include "core/files/TireFile.h"

namespace dyno {

namespace {

constexpr int WrapColumn = 90;  // a sample line ends once it is this long

}  // namespace

std::string ComposeEngineFile(EditorDocument& doc) {
  std::string out;
  out.reserve(doc.EngineText.size() + static_cast<std::size_t>(std::clamp(doc.RowCount, 0, MaxEngineRows)) * 48);
  bool rowsWritten = false;
  doc.EngineTextPos = 0;
  const bool crEndsLines = EndsLinesWithCr(doc.EngineText);
  while (doc.EngineTextPos < doc.EngineTextSize()) {
    const std::string_view line = ReadTextLine(doc.EngineText, doc.EngineTextPos, crEndsLines);
    // Row lines are recognised exactly as the reader recognises them.
    if (LineContains(line, TorqueRowKey)) {
      if (!rowsWritten) {
        // The rows go where the first row line's piece stood. Where that piece
        // continues a long line, a first row that would reach past the line's
        // 255-byte piece would not be read again: it starts a line instead.
        const std::size_t lineStart = out.find_last_of(crEndsLines ? "\r\n" : "\n");
        const std::size_t column = lineStart == std::string::npos ? out.size() : out.size() - lineStart - 1;
        constexpr std::size_t LongestRow = 80;  // "RPMTorque=( ... )" with three of the largest values
        if (column % (LineBufferSize - 1) + LongestRow > LineBufferSize - 1 && column > 0) {
          out += crEndsLines ? "\r" : "\r\n";
        }
        // A file of CR line ends keeps them, so that it reads line by line again.
        AppendTorqueRows(out, doc, crEndsLines ? "\r" : "\r\n");
      }
      rowsWritten = true;
    } else {
      out += line;
    }
  }
  return out;
}

namespace {

// The text after a header value, written back after the value: with a
// blank first where it would otherwise run on with the number written.
void AppendTail(std::string& out, std::string_view tail) {
  if (!tail.empty() && ((tail[0] >= '0' && tail[0] <= '9') || (tail[0] | 0x20) == 'e')) out += ' ';
  out += tail;
}

// The line end of the curves written: that of the file's first section
// header, CR LF in a file without one.
std::string_view TireLineEnd(const EditorDocument& doc) {
  const std::string_view text = doc.TireText;
  const auto header = doc.TireSectionCount > 0 ? static_cast<std::size_t>(doc.TireSections[0].Begin)
                                               : text.find("[SLIPCURVE]");
  if (header == std::string_view::npos) return "\r\n";
  return text.substr(header).starts_with("[SLIPCURVE]\n") ? "\n" : "\r\n";
}

// Appends slot b's curve to TireOtherText as a tire file holds it, each line
// ended by eol; with kept, what its section held besides the values goes
// back around them.
void ComposeSlipCurve(EditorDocument& doc, int b, const SlipSectionText* kept, std::string_view eol) {
  std::string& out = doc.TireOtherText;
  const SlipCurve& curve = doc.SlipCurves[b];
  const SlipSectionText none;
  const SlipSectionText& section = kept ? *kept : none;
  out += "[SLIPCURVE]";
  out += eol;
  out += "Name=";
  out += curve.Name;
  out += section.NameTail;
  out += eol;
  out += "Step=";
  AppendFixed(out, FileValue(curve.Step), 5);
  AppendTail(out, section.StepTail);
  out += eol;
  out += "DropoffFunction=";
  AppendFixed(out, FileValue(curve.DropoffFunction), 1);
  AppendTail(out, section.DropoffTail);
  out += eol;
  out += "Data:";
  out += section.DataTail;
  out += eol;

  const int samples = std::clamp(curve.SampleCount, 0, MaxSlipSamples);
  // A sample as written, with its blank. A value that prints as zero is
  // written "0.000000", not "-0.000000".
  const auto appendSample = [&](int i, std::string& text) {
    const std::size_t start = text.size();
    AppendFixed(text, FileValue(curve.Samples[i]), 6);  // "%0.6f "
    text += ' ';
    if (text.compare(start, 10, "-0.000000 ") == 0) text.erase(start, 1);
  };
  const auto endLine = [&](std::string& line) {
    line.pop_back();  // the last sample's blank
    line += eol;
    out += line;
    line.clear();
  };
  // The text of the data lines that was not read goes back after the sample
  // it followed (after the last one, where the curve is shorter now): the
  // rest of a line ends that sample's line, a whole line follows it.
  std::size_t u = 0;
  const auto unreadAt = [&](int at) {
    return u < section.Unread.size() && std::min(section.Unread[u].After, samples) == at;
  };
  const auto appendUnread = [&](int at, std::string& line) {
    bool joined = false;
    for (; unreadAt(at) && !section.Unread[u].WholeLine; ++u) {
      line += section.Unread[u].Text;
      line += ' ';
      joined = true;
    }
    if (joined || !line.empty()) endLine(line);
    for (; unreadAt(at); ++u) {
      const UnreadText& item = section.Unread[u];
      if (!item.WholeLine) {  // text that followed a whole line at the same sample
        line += item.Text;
        line += ' ';
        endLine(line);
        continue;
      }
      out += item.Text;
      if (!item.Text.ends_with('\n')) out += eol;
    }
  };
  // A line ends once it is 90 characters long. The samples of a line that
  // starts with a minus sign are read all the same, but the lines keep the
  // layout the editor has always written: a sample goes to the line together
  // with the negative samples that follow it, and lines break only between
  // such groups while a line (255 bytes with its end) can hold them. With no
  // negative samples this is the plain rule.
  constexpr std::size_t MaxLine = LineBufferSize - 1;
  std::string line;
  std::string group;
  std::string nextText;
  if (unreadAt(0)) appendUnread(0, line);
  for (int i = 0; i < samples;) {
    const int anchor = u < section.Unread.size() ? std::min(section.Unread[u].After, samples) : samples;
    group.clear();
    appendSample(i, group);
    int j = i + 1;
    for (; j < samples && j != anchor; ++j) {
      nextText.clear();
      appendSample(j, nextText);
      if (nextText.front() != '-') break;
      group += nextText;
    }
    if (!line.empty() && line.size() + group.size() + 1 > MaxLine) endLine(line);
    if (group.size() + 1 > MaxLine) {
      // Too many negative samples in a row for one line: some must start
      // a line after all.
      for (int k = i; k < j; ++k) {
        appendSample(k, line);
        if (k + 1 < j && static_cast<int>(line.size()) >= WrapColumn) endLine(line);
      }
    } else {
      line += group;
    }
    if (unreadAt(j)) {
      appendUnread(j, line);
    } else if (static_cast<int>(line.size()) >= WrapColumn || j == samples) {
      endLine(line);
    }
    i = j;
  }
  out += eol;
}

}  // namespace

void ComposeSlipCurves(EditorDocument& doc) {
  const int curves = std::clamp(doc.SlipCurveCount, 0, SlipCurveSlots);
  const std::string_view eol = TireLineEnd(doc);
  for (int b = 0; b < curves; ++b) ComposeSlipCurve(doc, b, nullptr, eol);
  doc.TireTextPos = std::max(doc.TireTextPos, doc.TireTailPos);
}

void ComposeTireFile(EditorDocument& doc) {
  std::string().swap(doc.TireOtherText);
  doc.TireOtherText.reserve(doc.TireText.size() + SlipCurveSlots * 9000);
  const int curves = std::clamp(doc.SlipCurveCount, 0, SlipCurveSlots);
  const int sections = std::clamp(doc.TireSectionCount, 0, SlipCurveSlots);
  doc.TireTextPos = 0;
  if (curves > 0 && sections > 0) {
    // Each curve goes where its section stood, and the lines between the
    // sections stay between them. Curves the file had no section for follow
    // the last one; the sections of curves no longer in use go.
    const std::string_view eol = TireLineEnd(doc);
    for (int next = 0; doc.TireTextPos < doc.TireTextSize();) {
      if (next < sections && doc.TireTextPos == doc.TireSections[static_cast<std::size_t>(next)].Begin) {
        if (next < curves) {
          const SlipSectionText kept = SlipSectionTextAt(doc.TireText, doc.TireTextPos);
          ComposeSlipCurve(doc, next, &kept, eol);
        }
        if (next + 1 == sections) {
          for (int b = sections; b < curves; ++b) ComposeSlipCurve(doc, b, nullptr, eol);
        }
        doc.TireTextPos = std::max(doc.TireSections[static_cast<std::size_t>(next)].End, doc.TireTextPos + 1);
        ++next;
        continue;
      }
      doc.TireOtherText += ReadTextLine(doc.TireText, doc.TireTextPos);
    }
    return;
  }
  // No section read: the curves go where the first header stands; every
  // later header is ordinary text. Where there is no curve there is nothing
  // to put in, and the sections without samples stay as they are.
  bool composed = curves <= 0;
  while (doc.TireTextPos < doc.TireTextSize()) {
    const std::string_view line = ReadTextLine(doc.TireText, doc.TireTextPos);
    if (!composed && IsSlipCurveHeader(line)) {
      ComposeSlipCurves(doc);
      composed = true;
    } else {
      doc.TireOtherText += line;
    }
  }
}

}  // namespace dyno
