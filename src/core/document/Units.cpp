#include "core/document/Units.h"

#include <array>
#include <charconv>
#include <cmath>
#include <numbers>

#include "core/document/Limits.h"

namespace dyno {

namespace {

// Room for any double with up to MaxDecimals decimals.
using NumberBuffer = std::array<char, 400>;

std::string_view Fixed(NumberBuffer& buffer, double v, int decimals) {
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), v, std::chars_format::fixed, decimals);
  if (result.ec != std::errc()) return {};
  return {buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data())};
}

}  // namespace

double KwPerHp() {
  static const double factor = static_cast<double>(std::numbers::pi_v<long double> / 30000.0L / PowerFactor);
  return factor;
}

double TorqueScale(TorqueUnit unit) { return unit == TorqueUnit::LbFt ? 1.0 / NmPerLbFt : 1.0; }

double PowerScale(PowerUnit unit) {
  switch (unit) {
    case PowerUnit::Kw: return KwPerHp();
    case PowerUnit::Ps: return KwPerHp() / KwPerPs;
    case PowerUnit::Hp: break;
  }
  return 1.0;
}

bool ShowSame(double a, double b, int decimals) {
  NumberBuffer x;
  NumberBuffer y;
  return Fixed(x, a, decimals) == Fixed(y, b, decimals);
}

double StoredTorque(double shown, TorqueUnit unit, int decimals) {
  if (unit == TorqueUnit::Nm || !std::isfinite(shown)) return shown;
  const double scale = TorqueScale(unit);
  const double first = shown / scale;
  // The division and the multiplication back each round once: the value
  // that shows the same text lies within a few steps of the nearest double.
  double down = first;
  double up = first;
  for (int step = 0; step < 16; ++step) {
    if (ShowSame(down * scale, shown, decimals)) return down;
    if (ShowSame(up * scale, shown, decimals)) return up;
    down = std::nextafter(down, -HUGE_VAL);
    up = std::nextafter(up, HUGE_VAL);
  }
  return first;
}

std::string_view UnitName(TorqueUnit unit) { return unit == TorqueUnit::LbFt ? "lb-ft" : "N-m"; }

std::string_view UnitName(PowerUnit unit) {
  switch (unit) {
    case PowerUnit::Kw: return "kW";
    case PowerUnit::Ps: return "PS";
    case PowerUnit::Hp: break;
  }
  return "HP";
}

TorqueUnit TorqueUnitNamed(std::string_view name) {
  return name == UnitName(TorqueUnit::LbFt) ? TorqueUnit::LbFt : TorqueUnit::Nm;
}

PowerUnit PowerUnitNamed(std::string_view name) {
  for (const PowerUnit unit : {PowerUnit::Kw, PowerUnit::Ps}) {
    if (name == UnitName(unit)) return unit;
  }
  return PowerUnit::Hp;
}

std::string EngineTitle(const DisplayUnits& units) {
  const std::string torque(UnitName(units.Torque));
  return "R. P. M. vs Torque (" + torque + ") and Power (" + std::string(UnitName(units.Power)) +
         ") and Compression torque (" + torque + ")";
}

}  // namespace dyno
