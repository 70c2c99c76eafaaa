#include "core/files/ReadBack.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <bit>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/document/EditorDocument.h"
#include "core/files/EngineFile.h"
#include "core/files/EngineParameters.h"
#include "core/files/NumberFormat.h"
#include "core/files/NumberText.h"
#include "core/files/TireFile.h"

namespace dyno {

namespace {

bool SameBits(double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); }

// A number as a reopen shows it: written with that many decimals, read again.
double AsWritten(double value, int decimals) { return DecimalToDouble(FixedText(FileValue(value), decimals)); }

// The composer writes a sample that prints as -0.000000 without its sign.
double SampleAsWritten(double value) {
  const double read = AsWritten(value, 6);
  return read == 0.0 ? 0.0 : read;
}

// The texts a section keeps besides its values, line ends aside: the same
// in the file read and in the bytes composed from it.
std::vector<std::string_view> KeptTexts(std::string_view text, int begin) {
  const SlipSectionText kept = SlipSectionTextAt(text, begin);
  // The writer may put a blank between a value and the text after it, so
  // that a number does not run on into it: blanks before a tail do not count.
  const auto trimmed = [](std::string_view tail) {
    while (!tail.empty() && (tail.front() == ' ' || tail.front() == '\t')) tail.remove_prefix(1);
    return tail;
  };
  std::vector<std::string_view> texts{trimmed(kept.NameTail), trimmed(kept.StepTail), trimmed(kept.DropoffTail),
                                      trimmed(kept.DataTail)};
  for (const UnreadText& item : kept.Unread) {
    std::string_view unread = item.Text;
    while (!unread.empty() && (unread.back() == '\n' || unread.back() == '\r')) unread.remove_suffix(1);
    texts.push_back(unread);
  }
  return texts;
}

std::string Holds(int part, int whole, const char* what) {
  return "it would hold " + std::to_string(part) + " of the " + std::to_string(whole) + " " + what;
}

}  // namespace

namespace {

// A value as a message shows it: the shortest text that reads back to it.
std::string Shown(double value) {
  char text[32];
  const auto [end, error] = std::to_chars(text, text + sizeof text, value);
  return error == std::errc() ? std::string(text, end) : std::string("?");
}

std::string Values(const std::array<double, MaxParameterValues>& values, int count) {
  std::string out;
  for (int v = 0; v < count; ++v) out += (v > 0 ? ", " : "") + Shown(values[static_cast<std::size_t>(v)]);
  return out;
}

std::optional<std::string> FirstOf(const ReadBackReport& report) {
  if (report.Loss) return report.Loss;
  if (!report.Changes.empty()) return report.Changes.front();
  return std::nullopt;
}

}  // namespace

ReadBackReport EngineReadBack(const EditorDocument& doc, std::string_view bytes) {
  ReadBackReport report;
  const auto again = std::make_unique<EditorDocument>();
  ReadEngineBytes(*again, std::string(bytes));

  const EngineCurve& shown = doc.Engine;
  const EngineCurve& read = again->Engine;
  const int rows = std::clamp(doc.RowCount, 0, MaxEngineRows);
  if (read.EngineRowCount != rows) {
    report.Loss = Holds(read.EngineRowCount, rows, "rows");
    return report;
  }
  static constexpr const char* ColumnNames[] = {"RPM", "compression", "torque"};
  for (int i = 0; i < rows; ++i) {
    const double was[] = {shown.Rpm[i], shown.Compression[i], shown.Torque[i]};
    const double now[] = {read.Rpm[i], read.Compression[i], read.Torque[i]};
    for (int c = 0; c < 3; ++c) {
      const double written = AsWritten(was[c], 1);
      if (!SameBits(now[c], written)) {
        report.Changes.push_back("row " + std::to_string(i + 1) + ": " + ColumnNames[c] + " " + Shown(written) +
                                 " would read back as " + Shown(now[c]));
      }
    }
  }
  // An upgrade file's parameters are never read. A parameter the kept text
  // holds must read back as it reads there (one the bytes lack keeps, on a
  // reopen, the value shown); one the kept text lacks (or hides behind a NUL
  // in its rows) is not compared.
  if (doc.Mode == FileMode::Upgrade) return report;
  for (const EngineParameter& parameter : doc.Parameters.Items) {
    EngineParameter kept = parameter;
    EngineParameter reread = parameter;
    if (!ReadParameter(doc.EngineText, kept)) continue;
    ReadParameter(bytes, reread);
    const std::string key(parameter.Key());
    if (!std::equal(kept.Values.begin(), kept.Values.end(), reread.Values.begin(), SameBits)) {
      report.Changes.push_back(key + ": " + Values(kept.Values, parameter.ValueCount()) + " would read back as " +
                               Values(reread.Values, parameter.ValueCount()));
    }
    if (kept.Comment != reread.Comment) {
      report.Changes.push_back("the comment of " + key + " would read back as \"" + reread.Comment + "\"");
    }
  }
  return report;
}

ReadBackReport TireReadBack(const EditorDocument& doc, std::string_view bytes) {
  ReadBackReport report;
  const auto again = std::make_unique<EditorDocument>();
  ReadTireBytes(*again, std::string(bytes));

  const int curves = std::clamp(doc.SlipCurveCount, 0, SlipCurveSlots);
  if (again->SlipCurveCount != curves) {
    report.Loss = Holds(again->SlipCurveCount, curves, "slip curves");
    return report;
  }
  for (int b = 0; b < curves; ++b) {
    const SlipCurve& shown = doc.SlipCurves[b];
    const SlipCurve& read = again->SlipCurves[b];
    const std::string curve = "slip curve " + std::to_string(b + 1) + " (" + shown.Name + ")";
    const int samples = std::clamp(shown.SampleCount, 0, MaxSlipSamples);
    if (read.SampleCount != samples) {
      report.Loss = curve + " would keep " + std::to_string(read.SampleCount) + " of its " + std::to_string(samples) +
                    " samples" +
                    (samples > MaxFileSlipSamples ? "; a tire file keeps at most " + std::to_string(MaxFileSlipSamples)
                                                  : std::string());
      return report;
    }
    if (read.Name != shown.Name) report.Changes.push_back("the name of " + curve + " would read back as \"" + read.Name + "\"");
    if (const double step = AsWritten(shown.Step, 5); !SameBits(read.Step, step)) {
      report.Changes.push_back("the step of " + curve + ": " + Shown(step) + " would read back as " + Shown(read.Step));
    }
    if (const double dropoff = AsWritten(shown.DropoffFunction, 1); !SameBits(read.DropoffFunction, dropoff)) {
      report.Changes.push_back("the drop-off of " + curve + ": " + Shown(dropoff) + " would read back as " +
                               Shown(read.DropoffFunction));
    }
    for (int i = 0; i < samples; ++i) {
      if (const double sample = SampleAsWritten(shown.Samples[i]); !SameBits(read.Samples[i], sample)) {
        report.Changes.push_back("sample " + std::to_string(i + 1) + " of " + curve + ": " + Shown(sample) +
                                 " would read back as " + Shown(read.Samples[i]));
      }
    }
    // The comments and the text not read that the file's section held stay.
    if (b < doc.TireSectionCount && b < again->TireSectionCount &&
        KeptTexts(doc.TireText, doc.TireSections[static_cast<std::size_t>(b)].Begin) !=
            KeptTexts(again->TireText, again->TireSections[static_cast<std::size_t>(b)].Begin)) {
      report.Changes.push_back("the comments or the text not read of " + curve + " would change");
    }
  }
  return report;
}

std::optional<std::string> EngineReadBackDifference(const EditorDocument& doc, std::string_view bytes) {
  return FirstOf(EngineReadBack(doc, bytes));
}

std::optional<std::string> TireReadBackDifference(const EditorDocument& doc, std::string_view bytes) {
  return FirstOf(TireReadBack(doc, bytes));
}

}  // namespace dyno
