#include "core/files/ComposeFile.h"

#include <algorithm>

#include "core/document/EditorDocument.h"
#include "core/files/EngineFile.h"
#include "core/files/NumberText.h"
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
  while (doc.EngineTextPos < doc.EngineTextSize()) {
    const std::string_view line = ReadTextLine(doc.EngineText, doc.EngineTextPos);
    // Row lines are recognised exactly as the reader recognises them.
    if (LineContains(line, TorqueRowKey)) {
      if (!rowsWritten) AppendTorqueRows(out, doc);
      rowsWritten = true;
    } else {
      out += line;
    }
  }
  return out;
}

namespace {

// Appends slot b's curve to TireOtherText as a tire file holds it.
void ComposeSlipCurve(EditorDocument& doc, int b) {
  std::string& out = doc.TireOtherText;
  const SlipCurve& curve = doc.SlipCurves[b];
  out += SlipCurveHeader;
  out += "Name=";
  out += curve.Name;
  out += "\r\n";
  out += "Step=";
  AppendFixed(out, FileValue(curve.Step), 5);
  out += "\r\n";
  out += "DropoffFunction=";
  AppendFixed(out, FileValue(curve.DropoffFunction), 1);
  out += "\r\n";
  out += "Data:\r\n";

  const int samples = std::clamp(curve.SampleCount, 0, MaxSlipSamples);
  // A sample as written, with its blank. A value that prints as zero is
  // written "0.000000": "-0.000000" at the start of a line would end the
  // samples when the file is read again.
  const auto appendSample = [&](int i, std::string& text) {
    const std::size_t start = text.size();
    AppendFixed(text, FileValue(curve.Samples[i]), 6);  // "%0.6f "
    text += ' ';
    if (text.compare(start, 10, "-0.000000 ") == 0) text.erase(start, 1);
  };
  const auto endLine = [&](std::string& line) {
    line.back() = '\r';
    line += '\n';
    out += line;
    line.clear();
  };
  // A line ends once it is 90 characters long. A line starting with a minus
  // sign would end the samples when read again, so a sample goes to the
  // line together with the negative samples that follow it, and lines
  // break only between such groups while a line (255 bytes with its end)
  // can hold them. With no negative samples this is the plain rule.
  constexpr std::size_t MaxLine = LineBufferSize - 1;
  std::string line;
  std::string group;
  std::string nextText;
  for (int i = 0; i < samples;) {
    group.clear();
    appendSample(i, group);
    int j = i + 1;
    for (; j < samples; ++j) {
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
        if (static_cast<int>(line.size()) >= WrapColumn || k == samples - 1) endLine(line);
      }
    } else {
      line += group;
      if (static_cast<int>(line.size()) >= WrapColumn || j == samples) endLine(line);
    }
    i = j;
  }
  out += "\r\n";
}

}  // namespace

void ComposeSlipCurves(EditorDocument& doc) {
  const int curves = std::clamp(doc.SlipCurveCount, 0, SlipCurveSlots);
  for (int b = 0; b < curves; ++b) ComposeSlipCurve(doc, b);
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
    for (int next = 0; doc.TireTextPos < doc.TireTextSize();) {
      if (next < sections && doc.TireTextPos == doc.TireSections[static_cast<std::size_t>(next)].Begin) {
        if (next < curves) ComposeSlipCurve(doc, next);
        if (next + 1 == sections) {
          for (int b = sections; b < curves; ++b) ComposeSlipCurve(doc, b);
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
    if (!composed && line == SlipCurveHeader) {
      ComposeSlipCurves(doc);
      composed = true;
    } else {
      doc.TireOtherText += line;
    }
  }
}

}  // namespace dyno
