#include "core/files/ReadBack.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/document/EditorDocument.h"
#include "core/files/EngineFile.h"
#include "core/files/EngineParameters.h"
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
  std::vector<std::string_view> texts{kept.NameTail, kept.StepTail, kept.DropoffTail, kept.DataTail};
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

std::optional<std::string> EngineReadBackDifference(const EditorDocument& doc, std::string_view bytes) {
  const auto again = std::make_unique<EditorDocument>();
  ReadEngineBytes(*again, std::string(bytes));

  const EngineCurve& shown = doc.Engine;
  const EngineCurve& read = again->Engine;
  const int rows = std::clamp(doc.RowCount, 0, MaxEngineRows);
  if (read.EngineRowCount != rows) return Holds(read.EngineRowCount, rows, "rows");
  for (int i = 0; i < rows; ++i) {
    if (!SameBits(read.Rpm[i], AsWritten(shown.Rpm[i], 1)) ||
        !SameBits(read.Compression[i], AsWritten(shown.Compression[i], 1)) ||
        !SameBits(read.Torque[i], AsWritten(shown.Torque[i], 1))) {
      return "row " + std::to_string(i + 1) + " would change";
    }
  }
  // An upgrade file's parameters are never read. A parameter the kept text
  // holds must read back as it reads there (one the bytes lack keeps, on a
  // reopen, the value shown); one the kept text lacks (or hides behind a NUL
  // in its rows) is not compared.
  if (doc.UpgradeMode) return std::nullopt;
  for (const EngineParameter& parameter : doc.Parameters.Items) {
    EngineParameter kept = parameter;
    EngineParameter reread = parameter;
    if (!ReadParameter(doc.EngineText, kept)) continue;
    ReadParameter(bytes, reread);
    if (kept.Comment != reread.Comment ||
        !std::equal(kept.Values.begin(), kept.Values.end(), reread.Values.begin(), SameBits)) {
      return "the parameter " + std::string(parameter.Key()) + " would change";
    }
  }
  return std::nullopt;
}

std::optional<std::string> TireReadBackDifference(const EditorDocument& doc, std::string_view bytes) {
  const auto again = std::make_unique<EditorDocument>();
  ReadTireBytes(*again, std::string(bytes));

  const int curves = std::clamp(doc.SlipCurveCount, 0, SlipCurveSlots);
  if (again->SlipCurveCount != curves) return Holds(again->SlipCurveCount, curves, "slip curves");
  for (int b = 0; b < curves; ++b) {
    const SlipCurve& shown = doc.SlipCurves[b];
    const SlipCurve& read = again->SlipCurves[b];
    const std::string curve = "slip curve " + std::to_string(b + 1) + " (" + shown.Name + ")";
    if (read.Name != shown.Name) return "the name of " + curve + " would change";
    if (!SameBits(read.Step, AsWritten(shown.Step, 5))) return "the step of " + curve + " would change";
    if (!SameBits(read.DropoffFunction, AsWritten(shown.DropoffFunction, 1))) {
      return "the drop-off of " + curve + " would change";
    }
    const int samples = std::clamp(shown.SampleCount, 0, MaxSlipSamples);
    if (read.SampleCount != samples) {
      return curve + " would keep " + std::to_string(read.SampleCount) + " of its " + std::to_string(samples) +
             " samples" +
             (samples > MaxFileSlipSamples ? "; a tire file keeps at most " + std::to_string(MaxFileSlipSamples)
                                           : std::string());
    }
    for (int i = 0; i < samples; ++i) {
      if (!SameBits(read.Samples[i], SampleAsWritten(shown.Samples[i]))) {
        return "sample " + std::to_string(i + 1) + " of " + curve + " would change";
      }
    }
    // The comments and the text not read that the file's section held stay.
    if (b < doc.TireSectionCount && b < again->TireSectionCount &&
        KeptTexts(doc.TireText, doc.TireSections[static_cast<std::size_t>(b)].Begin) !=
            KeptTexts(again->TireText, again->TireSections[static_cast<std::size_t>(b)].Begin)) {
      return "the comments or the text not read of " + curve + " would change";
    }
  }
  return std::nullopt;
}

}  // namespace dyno
