// Whether a tire file keeps every number of its slip curves' data lines
// through a save: each number the reader takes is a sample of the curve read
// back from the written bytes, as its six decimals give it back, and each
// one it leaves is in the text read back that was not read, and was
// reported when the file was opened. The data lines are split here apart
// from the reader, so that the check does not share its faults.
#pragma once

#include <algorithm>
#include <charconv>
#include <cmath>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "core/document/EditorDocument.h"
#include "core/files/NumberFormat.h"
#include "core/files/NumberText.h"
#include "core/files/TireFile.h"

namespace dyno::test {

// The blank-separated tokens of a line without its line end.
inline std::vector<std::string_view> LineTokens(std::string_view line) {
  constexpr std::string_view blanks = " \t\r\v\f";
  std::vector<std::string_view> tokens;
  for (std::size_t at = line.find_first_not_of(blanks); at != std::string_view::npos;) {
    const std::size_t end = std::min(line.find_first_of(blanks, at), line.size());
    tokens.push_back(line.substr(at, end - at));
    at = line.find_first_not_of(blanks, end);
  }
  return tokens;
}

// A token that is a decimal number as a file writes one: an optional sign,
// digits with an optional point, an optional exponent. Sets value, or NAN
// where the number is beyond a double.
inline bool IsNumberToken(std::string_view token, double& value) {
  std::string_view digits = token;
  if (!digits.empty() && (digits[0] == '+' || digits[0] == '-')) digits.remove_prefix(1);
  if (digits.empty() || !(std::isdigit(static_cast<unsigned char>(digits[0])) || digits[0] == '.')) return false;
  if (digits[0] == '.' && (digits.size() < 2 || !std::isdigit(static_cast<unsigned char>(digits[1])))) return false;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (end != digits.data() + digits.size()) return false;
  if (error == std::errc::result_out_of_range) value = NAN;
  if (token[0] == '-') value = -value;
  return true;
}

// The sample read back for a number of the file.
inline double WrittenSample(double value) {
  const double read = DecimalToDouble(FixedText(FileValue(value), 6));
  return read == 0.0 ? 0.0 : read;
}

// What is wrong, empty when nothing is: the file's bytes, the document they
// were read into (with what the reader reported) and the bytes written.
inline std::string LostNumbers(std::string_view bytes, const EditorDocument& doc, const ReadOutcome& read,
                               std::string_view written) {
  const auto again = std::make_unique<EditorDocument>();
  again->Mode = FileMode::Tire;
  ReadTireBytes(*again, std::string(written));
  for (int b = 0; b < doc.TireSectionCount; ++b) {
    const auto& span = doc.TireSections[b];
    const std::string_view section = bytes.substr(span.Begin, span.End - span.Begin);
    const SlipCurve& curve = again->SlipCurves[b];
    std::string unreadAgain;  // the text not read of the curve read back
    if (b < again->TireSectionCount) {
      for (const UnreadText& item : SlipSectionTextAt(again->TireText, again->TireSections[b].Begin).Unread) {
        unreadAgain += std::string(item.Text) + "\n";
      }
    }
    std::string reported;
    for (const TextNotRead& item : read.NotRead) {
      if (item.Curve == b + 1) reported += item.Text + "\n";
    }
    const std::string where = "curve " + std::to_string(b + 1) + ": ";
    int taken = 0;
    bool data = false;
    for (std::size_t pos = 0; pos < section.size();) {
      const std::size_t lf = section.find('\n', pos);
      std::string_view line = section.substr(pos, lf == std::string_view::npos ? std::string_view::npos : lf - pos);
      pos = lf == std::string_view::npos ? section.size() : lf + 1;
      if (line.ends_with('\r')) line.remove_suffix(1);
      const std::string_view beforeNul = line.substr(0, line.find('\0'));
      const auto dataAt = beforeNul.find("Data:");
      const bool dataLine = dataAt != std::string_view::npos &&
                            (beforeNul.find("Name=") == std::string_view::npos || dataAt < beforeNul.find('='));
      if (!data) {
        data = dataLine;
        continue;
      }
      if (dataLine) continue;  // kept whole, as text not read
      bool reading = true;
      for (const std::string_view token : LineTokens(line)) {
        double value = 0.0;
        reading = reading && IsNumberToken(token, value);
        if (reading) {
          if (taken < MaxFileSlipSamples) {
            if (taken >= curve.SampleCount) return where + "number " + std::string(token) + " is no sample";
            const double expected = WrittenSample(value);
            const double off = std::fabs(curve.Samples[taken] - expected);
            if (!std::isnan(value) && off > 1e-9 * std::max(1.0, std::fabs(expected))) {
              return where + "sample " + std::to_string(taken + 1) + " is not " + std::string(token);
            }
          }
          ++taken;
        } else if (IsNumberToken(token, value)) {
          if (unreadAgain.find(token) == std::string::npos) return where + std::string(token) + " was lost";
          if (reported.find(token) == std::string::npos) return where + std::string(token) + " was not reported";
        }
      }
    }
    if (taken - read.SamplesLeftOut[b] != doc.SlipCurves[b].SampleCount) {
      return where + std::to_string(taken) + " numbers read, not as many samples";
    }
  }
  return {};
}

}  // namespace dyno::test
