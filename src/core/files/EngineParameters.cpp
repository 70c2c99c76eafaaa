#include "core/files/EngineParameters.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/document/EditorDocument.h"
#include "core/files/EngineFile.h"
#include "core/files/NumberText.h"
#include "core/files/TextHelpers.h"

namespace dyno {

// Key, value count, lookup position, defaults, edit-box ids and formats,
// dialog label and default comment of every parameter, in written order.
const std::array<EngineParameterSpec, EngineParameterCount> EngineParameterSpecs = {{
    {"FuelConsumption", 1, 1, {5.631e-05, 0, 0}, {22300, 0, 0}, {"%.3e", nullptr, nullptr}, "Fuel Consumption:",
     "// affected by throttle position and engine speed"},
    {"FuelEstimate", 1, 2, {0.892, 0, 0}, {22301, 0, 0}, {"%0.4f", nullptr, nullptr}, "Fuel Estimate:",
     "// fudge factor for differences between vehicle types (used for lap estimates and AI pit scheduling)"},
    {"EngineInertia", 1, 3, {0.256, 0, 0}, {22302, 0, 0}, {"%.3e", nullptr, nullptr}, "Engine Inertia:",
     "// rotational inertia of engine components"},
    {"IdleThrottle", 1, 4, {0.4, 0, 0}, {22303, 0, 0}, {"%0.4f", nullptr, nullptr}, "Idle Throttle:",
     "// throttle multiplier to help maintain idle speed"},
    {"IdleRPMLogic", 2, 5, {1200, 1450, 0}, {22304, 22305, 0}, {"%0.1f", "%0.1f", nullptr}, "Idle RPM Logic:",
     "// attempt to maintain idle speed between these RPMs"},
    {"LaunchEfficiency", 1, 6, {0, 0, 0}, {22306, 0, 0}, {"%0.3f", nullptr, nullptr}, "Launch Efficiency:",
     "// efficiency (0.0-1.0) of launch control, or 0.0 if N/A"},
    {"LaunchRPMLogic", 2, 7, {6000, 7000, 0}, {22307, 22308, 0}, {"%0.1f", "%0.1f", nullptr}, "Launch RPM Logic:",
     "// holds RPM in this range before launch (used for AI even if launch control is N/A!)"},
    {"RevLimitRange", 3, 8, {9400, 50, 4}, {22309, 22310, 22311}, {"%0.1f", "%0.1f", "%.0f"}, "Rev Limit Range:",
     ""},
    {"RevLimitSetting", 1, 9, {2, 0, 0}, {22312, 0, 0}, {"%.0f", nullptr, nullptr}, "Setting:",
     ""},
    {"RevLimitLogic", 1, 10, {100, 0, 0}, {22313, 0, 0}, {"%0.1f", nullptr, nullptr}, "Rev Limit Logic:",
     "// RPM range around current setting where rev limiter operates"},
    {"RevLimitAvailable", 1, 11, {1, 0, 0}, {22314, 0, 0}, {"%.0f", nullptr, nullptr}, "Limiter Available:",
     "// whether to use a rev limit (if 0, you still must have a \"rev limit\", just make it 40000 or so, and make sure to change [CONTROLS]->UpshiftAlgorithm to fix shifting points)"},
    {"EngineMapRange", 3, 12, {0, 1, 1}, {22315, 22316, 22317}, {"%0.4f", "%0.4f", "%.0f"}, "Engine Map Range:",
     "// 0 = most driveable, max = most power (low gears only) (unimplemented)"},
    {"EngineMapSetting", 1, 13, {1, 0, 0}, {22318, 0, 0}, {"%.0f", nullptr, nullptr}, "Setting:",
     ""},
    {"EngineBrakingMapRange", 3, 14, {0, 0.001, 1}, {22319, 22347, 22348}, {"%0.4f", "%0.3e", "%.0f"}, "Brake Map Range:",
     "// input throttle is ranged from minimum to 100%, with the minimum = setting * step * RPM,"},
    {"EngineBrakingMapSetting", 1, 15, {0, 0, 0}, {22320, 0, 0}, {"%.0f", nullptr, nullptr}, "Setting:",
     "// the default is 1 * 0.000133 * 15000 RPM = 2% applied throttle at zero input throttle"},
    {"EngineBoostRange", 3, 32, {0.01, 1, 10}, {22356, 22357, 22349}, {"%.4f", "%.4f", "%.0f"}, "Engine Boost Range:",
     ""},
    {"EngineBoostSetting", 1, 33, {1, 0, 0}, {22350, 0, 0}, {"%.0f", nullptr, nullptr}, "Setting:",
     ""},
    {"BoostEffects", 3, 34, {15, 0.01, 1.015}, {22351, 22352, 22353}, {"%0.4f", "%0.4f", "%0.4f"}, "Engine Boost Effects:",
     "// RPM increase per setting, fuel increase (1%) per setting, engine wear rate (101.5%) per setting"},
    {"BoostTorque", 1, 35, {-0.0041, 0, 0}, {22354, 0, 0}, {"%0.5f", nullptr, nullptr}, "Boost Torque:",
     "// 0.4% less torque per setting (applies to all RPMs)"},
    {"BoostPower", 1, 36, {0.00016, 0, 0}, {22355, 0, 0}, {"%0.5f", nullptr, nullptr}, "Boost Power:",
     "// % more horsepower per setting"},
    {"OptimumOilTemp", 1, 16, {105, 0, 0}, {22321, 0, 0}, {"%0.1f", nullptr, nullptr}, "Oil Optimum Temp:",
     "// degrees Celsius at which engine operates optimally"},
    {"CombustionHeat", 1, 17, {40, 0, 0}, {22322, 0, 0}, {"%0.1f", nullptr, nullptr}, "Combustion Heat:",
     "// degrees Celsius added per liter of fuel burned"},
    {"EngineSpeedHeat", 1, 18, {0.0009062, 0, 0}, {22323, 0, 0}, {"%0.3e", nullptr, nullptr}, "Engine Speed Heat:",
     "// heat added linearly with engine speed"},
    {"OilMinimumCooling", 1, 19, {0.0075, 0, 0}, {22324, 0, 0}, {"%0.3e", nullptr, nullptr}, "Oil Min. Cooling:",
     "// heat added linearly with engine speed"},
    {"OilWaterHeatTransfer", 2, 20, {0.4962, 7.925e-05, 0}, {22325, 22326, 0}, {"%0.3e", "%0.3e", nullptr}, "O-W Heat Transfer:",
     "// heat transfer from oil to water (base, w/ engine speed)"},
    {"WaterMinimumCooling", 1, 21, {0.003962, 0, 0}, {22327, 0, 0}, {"%0.3e", nullptr, nullptr}, "Water Min. Cooling:",
     "// heat dissipated without radiator"},
    {"RadiatorCooling", 2, 22, {1.797e-06, 4.486e-06, 0}, {22328, 22329, 0}, {"%0.3e", "%0.3e", nullptr}, "Radiator Cooling:",
     "// cooling rate with velocity (base, per setting)"},
    {"LifetimeEngineRPM", 2, 23, {8600, 180, 0}, {22330, 22331, 0}, {"%0.1f", "%0.1f", nullptr}, "Lifetime Eng. RPM:",
     "// (base engine speed for lifetime, range where lifetime is halved)"},
    {"LifetimeOilTemp", 2, 24, {108, 2.5, 0}, {22332, 22333, 0}, {"%0.1f", "%0.1f", nullptr}, "Lifetime Oil Temp:",
     "// (base oil temp for lifetime, range where lifetime is halved)"},
    {"LifetimeAvg", 1, 25, {15000, 0, 0}, {22334, 0, 0}, {"%.0f", nullptr, nullptr}, "Lifetime AVG:",
     "// average lifetime in seconds"},
    {"LifetimeVar", 1, 26, {8500, 0, 0}, {22335, 0, 0}, {"%.0f", nullptr, nullptr}, "Lifetime VAR:",
     "// lifetime random variance"},
    {"EngineEmission", 3, 27, {0.2, 0.6, -2.5}, {22336, 22337, 22338}, {"%0.1f", "%0.1f", "%0.1f"}, "Engine Emission:",
     "// where flames and smoke are emitted (relative to ref frame at rear axle)"},
    {"EngineSound", 3, 28, {0.2, 0.6, -2.5}, {22339, 22340, 22341}, {"%0.1f", "%0.1f", "%0.1f"}, "Engine Sound:",
     "// where engine sound is played (relative to ref frame at rear axle)"},
    {"SpeedLimiter", 1, 29, {1, 0, 0}, {22342, 0, 0}, {"%.0f", nullptr, nullptr}, "Speed Limiter:",
     "// whether vehicle has a pitlane speed limiter"},
    {"OnboardStarter", 1, 30, {1, 0, 0}, {22343, 0, 0}, {"%.0f", nullptr, nullptr}, "Onboard Starter:",
     "// whether vehicle restarts when stalled"},
    {"StarterTiming", 3, 31, {1.4, 0, 0}, {22344, 22345, 22346}, {"%0.1f", "%0.1f", "%0.1f"}, "Starter Timing:",
     "// average and variable cranking time, then time to blend with starting sound"},
}};

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

EngineParameterSet::EngineParameterSet() {
  for (int i = 0; i < EngineParameterCount; ++i) {
    const EngineParameterSpec& spec = EngineParameterSpecs[i];
    Items[i].Spec = &spec;
    Items[i].Values = spec.Defaults;
    Items[i].Comment = spec.DefaultComment;
  }
}

EngineParameter* EngineParameterSet::Find(std::string_view key) {
  for (EngineParameter& parameter : Items) {
    if (parameter.Key() == key) return &parameter;
  }
  return nullptr;
}

const EngineParameter* EngineParameterSet::Find(std::string_view key) const {
  return const_cast<EngineParameterSet*>(this)->Find(key);
}

namespace {

// Reads the parameter from the line of text (cut at its first NUL) that
// holds its key at position at.
void ReadParameterAt(std::string_view text, std::size_t at, EngineParameter& parameter) {
  // The line from the key on, as the line reader would deliver it from there.
  int pos = static_cast<int>(at);
  std::string_view line = ReadTextLine(text, pos);
  line = line.substr(0, std::min(line.find_first_of("\r\n"), line.size()));

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
  if (magnitude < 0.001) return CFormat(position == 2 ? "%.4e" : "%.3e", value);
  if (magnitude < 1.0) return CFormat(position == 0 ? "%.5f" : "%.4f", value);
  if (IsIntegral32(value)) return CFormat("%.0f", value);
  return CFormat(position == 0 ? "%.2f" : "%.4f", value);
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
  doc.GeneratedText.swap(text);
  return static_cast<int>(doc.GeneratedText.size());
}

int ComposeAndKeepEngineText(EditorDocument& doc) {
  const int length = ComposeEngineText(doc);
  doc.EngineText = doc.GeneratedText;
  doc.EngineTextPos = 0;
  return length;
}

std::string* ParameterTexts::ForControl(int controlId) {
  int index = 0;
  for (const EngineParameterSpec& spec : EngineParameterSpecs) {
    for (int v = 0; v < spec.ValueCount; ++v, ++index) {
      if (spec.ControlIds[v] == controlId) return &Texts[index];
    }
  }
  return nullptr;
}

std::string FormatDialogValue(double value, const char* format) {
  std::string text = CFormat(format, value);
  // Cutting an over-long text would show another number; the exponent form
  // keeps its magnitude and as many digits as fit.
  for (int precision = ParameterTextLength - 1; text.size() > ParameterTextLength && precision >= 0; --precision) {
    text = CFormat("%.*e", precision, value);
  }
  return text;
}

void LoadParameterTexts(const EngineParameterSet& set, ParameterTexts& texts) {
  int index = 0;
  for (const EngineParameter& parameter : set.Items) {
    for (int v = 0; v < parameter.ValueCount(); ++v) {
      texts.Texts[index++] = FormatDialogValue(parameter.Values[v], parameter.Spec->DialogFormats[v]);
    }
  }
}

void StoreParameterTexts(const ParameterTexts& texts, EngineParameterSet& set) {
  int index = 0;
  for (EngineParameter& parameter : set.Items) {
    for (int v = 0; v < parameter.ValueCount(); ++v) parameter.Values[v] = DecimalToDouble(texts.Texts[index++]);
  }
}

}  // namespace dyno
