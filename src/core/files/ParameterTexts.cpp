#include "core/files/ParameterTexts.h"

#include <string_view>

#include "core/files/TypedNumber.h"
#include "core/files/NumberFormat.h"
#include "core/files/NumberText.h"

namespace dyno {

namespace {

constexpr NumberFormat Fixed(int decimals) { return {false, decimals}; }
constexpr NumberFormat Exponent(int digits) { return {true, digits}; }

struct ParameterFormats {
  std::string_view Key;
  std::array<NumberFormat, MaxParameterValues> Values;
};

// How the dialog shows the values of each parameter, left to right.
constexpr ParameterFormats Formats[] = {
    {"FuelConsumption", {Exponent(3)}},
    {"FuelEstimate", {Fixed(4)}},
    {"EngineInertia", {Exponent(3)}},
    {"IdleThrottle", {Fixed(4)}},
    {"IdleRPMLogic", {Fixed(1), Fixed(1)}},
    {"LaunchEfficiency", {Fixed(3)}},
    {"LaunchRPMLogic", {Fixed(1), Fixed(1)}},
    {"RevLimitRange", {Fixed(1), Fixed(1), Fixed(0)}},
    {"RevLimitSetting", {Fixed(0)}},
    {"RevLimitLogic", {Fixed(1)}},
    {"RevLimitAvailable", {Fixed(0)}},
    {"EngineMapRange", {Fixed(4), Fixed(4), Fixed(0)}},
    {"EngineMapSetting", {Fixed(0)}},
    {"EngineBrakingMapRange", {Fixed(4), Exponent(3), Fixed(0)}},
    {"EngineBrakingMapSetting", {Fixed(0)}},
    {"EngineBoostRange", {Fixed(4), Fixed(4), Fixed(0)}},
    {"EngineBoostSetting", {Fixed(0)}},
    {"BoostEffects", {Fixed(4), Fixed(4), Fixed(4)}},
    {"BoostTorque", {Fixed(5)}},
    {"BoostPower", {Fixed(5)}},
    {"OptimumOilTemp", {Fixed(1)}},
    {"CombustionHeat", {Fixed(1)}},
    {"EngineSpeedHeat", {Exponent(3)}},
    {"OilMinimumCooling", {Exponent(3)}},
    {"OilWaterHeatTransfer", {Exponent(3), Exponent(3)}},
    {"WaterMinimumCooling", {Exponent(3)}},
    {"RadiatorCooling", {Exponent(3), Exponent(3)}},
    {"LifetimeEngineRPM", {Fixed(1), Fixed(1)}},
    {"LifetimeOilTemp", {Fixed(1), Fixed(1)}},
    {"LifetimeAvg", {Fixed(0)}},
    {"LifetimeVar", {Fixed(0)}},
    {"EngineEmission", {Fixed(1), Fixed(1), Fixed(1)}},
    {"EngineSound", {Fixed(1), Fixed(1), Fixed(1)}},
    {"SpeedLimiter", {Fixed(0)}},
    {"OnboardStarter", {Fixed(0)}},
    {"StarterTiming", {Fixed(1), Fixed(1), Fixed(1)}},
};

// The formats in the order of EngineParameterSpecs.
const std::array<std::array<NumberFormat, MaxParameterValues>, EngineParameterCount>& FormatsBySpec() {
  static const auto table = [] {
    std::array<std::array<NumberFormat, MaxParameterValues>, EngineParameterCount> byIndex{};
    for (const ParameterFormats& entry : Formats) {
      const int index = EngineParameterIndex(entry.Key);
      if (index >= 0) byIndex[index] = entry.Values;
    }
    return byIndex;
  }();
  return table;
}

}  // namespace

NumberFormat ParameterTextFormat(int index, int position) { return FormatsBySpec()[index][position]; }

int ParameterTextIndex(int index, int position) {
  int text = 0;
  for (int i = 0; i < index; ++i) text += EngineParameterSpecs[i].ValueCount;
  return text + position;
}

std::string FormatDialogValue(double value, NumberFormat format) {
  std::string text = format.Exponent ? ExponentText(value, format.Precision) : FixedText(value, format.Precision);
  // Cutting an over-long text would show another number; the exponent form
  // keeps its magnitude and as many digits as fit.
  for (int precision = ParameterTextLength - 1; text.size() > ParameterTextLength && precision >= 0; --precision) {
    text = ExponentText(value, precision);
  }
  return text;
}

void LoadParameterTexts(const EngineParameterSet& set, ParameterTexts& texts) {
  int index = 0;
  for (int i = 0; i < EngineParameterCount; ++i) {
    const EngineParameter& parameter = set.Items[i];
    for (int v = 0; v < parameter.ValueCount(); ++v) {
      texts.Texts[index++] = FormatDialogValue(parameter.Values[v], ParameterTextFormat(i, v));
    }
  }
}

void StoreParameterTexts(const ParameterTexts& texts, EngineParameterSet& set) {
  int index = 0;
  for (EngineParameter& parameter : set.Items) {
    for (int v = 0; v < parameter.ValueCount(); ++v) {
      // The dialog takes only numbers, with a decimal point or comma.
      const std::string& text = texts.Texts[index++];
      parameter.Values[v] = ReadTypedNumber(text).value_or(DecimalToDouble(text));
    }
  }
}

}  // namespace dyno
