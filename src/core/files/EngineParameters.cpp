#include "core/files/EngineParameters.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>

#include "core/document/EditorDocument.h"
#include "core/files/EngineFile.h"
#include "core/files/NumberFormat.h"
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

// Reads the parameter from the line of text (which holds no NUL) that holds
// its key at position at.
void ReadParameterAt(std::string_view text, std::size_t at, EngineParameter& parameter) {
  // The line from the key on, as the line reader would deliver it from
  // there, up to its line end.
  std::string_view line = text.substr(at, LineBufferSize - 1);
  line = line.substr(0, line.find('\n'));
  line = line.substr(0, line.find('\r'));

  const auto equals = line.find('=');
  std::string_view values = equals == std::string_view::npos ? std::string_view() : line.substr(equals + 1);
  if (parameter.ValueCount() == 1) {
    parameter.Values[0] = DecimalToDouble(values);
  } else {
    // A list: its first character is taken for the "(" and skipped. A value
    // without a comma before it reads as 0.
    if (!values.empty()) values.remove_prefix(1);
    for (int v = 0; v < parameter.ValueCount(); ++v) {
      parameter.Values[v] = DecimalToDouble(values);
      if (v + 1 == parameter.ValueCount()) break;  // the comment may be long: no comma wanted
      const auto comma = values.find(',');
      values = comma == std::string_view::npos ? std::string_view() : values.substr(comma + 1);
    }
  }

  const auto comment = line.find("//");
  if (comment != std::string_view::npos) parameter.Comment = line.substr(comment);
}

// The eight bytes from bytes on as one word, to compare eight at once.
std::uint64_t FirstEight(const char* bytes) {
  std::uint64_t word = 0;
  std::memcpy(&word, bytes, sizeof word);
  return word;
}

// Where each key first occurs in text. Each key is sought by one of its
// bytes, one byte value at a time with memchr, which skips the text between
// candidates far faster than a byte-by-byte look at every position. That
// byte is a capital letter that a torque row does not hold: a key sought by
// its leading R would stop at every one of 500 rows.
std::array<std::size_t, EngineParameterCount> FirstOccurrences(std::string_view text) {
  struct Sought {
    int Key;
    std::string_view Name;
    std::size_t Offset;  // of the sought byte in the name
    std::uint64_t Head;  // the name's first eight bytes, when it has them
  };
  struct KeysByByte {
    KeysByByte() {
      // Each pass over the text costs about as much as the next, so the
      // bytes are chosen greedily: the capital letter that the most keys
      // still without one hold, until every key has one.
      const std::string_view row = TorqueRowKey;
      std::array<bool, EngineParameterCount> given{};
      for (int left = EngineParameterCount; left > 0;) {
        std::array<int, 256> holders{};
        for (int k = 0; k < EngineParameterCount; ++k) {
          const std::string_view name = EngineParameterSpecs[k].Key;
          for (char c = 'A'; c <= 'Z'; ++c) {
            if (!given[k] && row.find(c) == std::string_view::npos && name.find(c) != std::string_view::npos) {
              ++holders[static_cast<unsigned char>(c)];
            }
          }
        }
        const auto best = static_cast<unsigned char>(std::max_element(holders.begin(), holders.end()) - holders.begin());
        for (int k = 0; k < EngineParameterCount; ++k) {
          const std::string_view name = EngineParameterSpecs[k].Key;
          // A key without such a letter is sought by its first byte.
          const std::size_t offset = holders[best] > 0 ? name.find(static_cast<char>(best)) : 0;
          if (given[k] || offset == std::string_view::npos) continue;
          const auto byte = static_cast<unsigned char>(name[offset]);
          if (count[byte] == 0) bytes[byteCount++] = byte;
          keys[byte][count[byte]++] = {k, name, offset, name.size() >= 8 ? FirstEight(name.data()) : 0};
          given[k] = true;
          --left;
        }
      }
    }
    std::array<std::array<Sought, EngineParameterCount>, 256> keys{};
    std::array<int, 256> count{};
    std::array<unsigned char, EngineParameterCount> bytes{};
    int byteCount = 0;
  };
  static const KeysByByte index;

  std::array<std::size_t, EngineParameterCount> first;
  first.fill(std::string_view::npos);
  const char* const begin = text.data();
  const char* const end = begin + text.size();
  for (int b = 0; b < index.byteCount; ++b) {
    const unsigned char byte = index.bytes[b];
    int missing = index.count[byte];
    for (const char* at = begin; missing > 0 && at < end; ++at) {
      at = static_cast<const char*>(std::memchr(at, byte, static_cast<std::size_t>(end - at)));
      if (at == nullptr) break;
      const auto p = static_cast<std::size_t>(at - begin);
      for (int k = 0; k < index.count[byte]; ++k) {
        const auto [key, name, offset, head] = index.keys[byte][k];
        if (first[key] != std::string_view::npos || offset > p || p - offset + name.size() > text.size()) continue;
        // Many keys share a byte, and a line of one key holds the bytes of
        // others: eight bytes compared at once reject most candidates.
        if (name.size() >= 8 && FirstEight(at - offset) != head) continue;
        if (text.substr(p - offset, name.size()) == name) {
          first[key] = p - offset;
          --missing;
        }
      }
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
