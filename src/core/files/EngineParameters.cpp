#include "core/files/EngineParameters.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "core/document/EditorDocument.h"
#include "core/files/EngineFile.h"
#include "core/files/NumberText.h"
#include "core/files/TextHelpers.h"

namespace dyno {

namespace {

// The indices of the set in the order the keys are looked up.
std::array<int, EngineParameterCount> ReadSequence() {
  std::array<int, EngineParameterCount> order{};
  for (int i = 0; i < EngineParameterCount; ++i) order[EngineParameterSpecs[i].ReadOrder - 1] = i;
  return order;
}

// A whole number that fits a 32-bit signed integer. Whole numbers beyond
// that range are written with decimals.
bool IsIntegral32(double v) { return v >= -2147483648.0 && v <= 2147483647.0 && v == std::trunc(v); }

// The rest of text after its first delimiter, or nothing when text holds none
// before its line end.
std::string_view AfterField(std::string_view text, char delimiter) {
  const std::string_view field = CopyUntil(text, delimiter);
  if (field.size() < text.size() && text[field.size()] == delimiter) return text.substr(field.size() + 1);
  return {};
}

}  // namespace

namespace {

// Reads the parameter from the line of text that holds its key at position
// at, with no NUL before it; the line is cut at its first NUL.
void ReadParameterAt(std::string_view text, std::size_t at, EngineParameter& parameter) {
  // The line from the key on, as the line reader would deliver it from there.
  int pos = static_cast<int>(at);
  // Up to its line end (a byte loop: find_first_of calls memchr per byte).
  const std::string_view line = CopyUntil(UpToNul(ReadTextLine(text, pos)), '\n');

  std::string_view values = ValueAfterEquals(line);
  if (parameter.ValueCount() == 1) {
    parameter.Values[0] = DecimalToDouble(values);
  } else {
    // A list: its first character is taken for the "(" and skipped. A value
    // without a comma before it reads as 0.
    if (!values.empty()) values.remove_prefix(1);
    for (int v = 0; v < parameter.ValueCount(); ++v) {
      parameter.Values[v] = DecimalToDouble(values);
      values = AfterField(values, ',');
    }
  }

  const auto comment = line.find("//");
  if (comment != std::string_view::npos) parameter.Comment = line.substr(comment);
}

// Where each key first occurs in text. The keys are sought by their first
// byte, one byte value at a time with memchr, which skips the text between
// candidates far faster than a byte-by-byte look at every position.
std::array<std::size_t, EngineParameterCount> FirstOccurrences(std::string_view text) {
  struct KeysByFirstByte {
    KeysByFirstByte() {
      for (int k = 0; k < EngineParameterCount; ++k) {
        const auto first = static_cast<unsigned char>(EngineParameterSpecs[k].Key[0]);
        if (count[first] == 0) bytes[byteCount++] = first;
        keys[first][count[first]++] = k;
      }
    }
    std::array<std::array<int, EngineParameterCount>, 256> keys{};
    std::array<int, 256> count{};
    std::array<unsigned char, EngineParameterCount> bytes{};
    int byteCount = 0;
  };
  static const KeysByFirstByte index;

  std::array<std::size_t, EngineParameterCount> first;
  first.fill(std::string_view::npos);
  for (int b = 0; b < index.byteCount; ++b) {
    const unsigned char byte = index.bytes[b];
    const auto& keys = index.keys[byte];
    int missing = index.count[byte];
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    for (const char* at = begin; missing > 0 && at < end;) {
      at = static_cast<const char*>(std::memchr(at, byte, static_cast<std::size_t>(end - at)));
      if (at == nullptr) break;
      const auto p = static_cast<std::size_t>(at - begin);
      for (int k = 0; k < index.count[byte]; ++k) {
        const int key = keys[k];
        if (first[key] != std::string_view::npos) continue;
        const std::string_view name = EngineParameterSpecs[key].Key;
        if (p + 1 < text.size() && text[p + 1] != name[1]) continue;  // a cheap first test
        if (text.compare(p, name.size(), name) == 0) {
          first[key] = p;
          --missing;
        }
      }
      ++at;
    }
  }
  return first;
}

}  // namespace

bool ReadParameter(std::string_view engineText, EngineParameter& parameter) {
  const std::string_view text = UpToNul(engineText);
  const auto at = text.find(parameter.Key());
  if (at == std::string_view::npos) return false;
  ReadParameterAt(text, at, parameter);
  return true;
}

bool ReadEngineParameters(EditorDocument& doc) {
  if (!doc.EngineLoaded) return false;
  static const std::array<int, EngineParameterCount> sequence = ReadSequence();
  const std::string_view text = UpToNul(doc.EngineText);
  const auto first = FirstOccurrences(text);
  for (const int i : sequence) {
    if (first[i] != std::string_view::npos) ReadParameterAt(text, first[i], doc.Parameters.Items[i]);
  }
  return true;
}

std::string FormatParameterValue(double value, int position) {
  value = FileValue(value);
  const double magnitude = std::fabs(value);
  if (value == 0.0) return position == 0 ? "0" : "0.0";  // never "-0"
  if (magnitude < 0.001) return ExponentText(value, position == 2 ? 4 : 3);
  if (magnitude < 1.0) return FixedText(value, position == 0 ? 5 : 4);
  if (IsIntegral32(value)) return FixedText(value, 0);
  return FixedText(value, position == 0 ? 2 : 4);
}

std::string FormatParameterLine(const EngineParameter& parameter) {
  std::string line(parameter.Key());
  line += '=';
  if (parameter.ValueCount() == 1) {
    line += FormatParameterValue(parameter.Values[0], 0);
  } else {
    line += '(';
    for (int v = 0; v < parameter.ValueCount(); ++v) {
      if (v > 0) line += ", ";
      line += FormatParameterValue(parameter.Values[v], v);
    }
    line += ')';
  }
  line += "   ";
  line += parameter.Comment;
  line += "\r\n";
  return line;
}

int ComposeEngineText(EditorDocument& doc) {
  std::string text;
  text.reserve(static_cast<std::size_t>(std::clamp(doc.RowCount, 0, MaxEngineRows)) * 48 + 4096);
  text += "// Engine data generated by Dynoforge\r\n";
  AppendTorqueRows(text, doc);
  for (const EngineParameter& parameter : doc.Parameters.Items) text += FormatParameterLine(parameter);
  ReplaceText(doc, KeptText::Generated, std::move(text));
  return static_cast<int>(doc.GeneratedText.size());
}

int ComposeAndKeepEngineText(EditorDocument& doc) {
  const int length = ComposeEngineText(doc);
  ReplaceText(doc, KeptText::Engine, doc.GeneratedText);
  doc.EngineTextPos = 0;
  return length;
}

}  // namespace dyno
