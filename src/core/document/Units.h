#pragma once

#include <string>
#include <string_view>

namespace dyno {

// The units the table, the value axis, the value box and the status bar show
// torque and power in. The document and its files always hold N-m and HP.
enum class TorqueUnit { Nm, LbFt };
enum class PowerUnit { Hp, Kw, Ps };

struct DisplayUnits {
  TorqueUnit Torque = TorqueUnit::Nm;
  PowerUnit Power = PowerUnit::Hp;

  friend bool operator==(const DisplayUnits&, const DisplayUnits&) = default;
};

// Decimals of the values the table and the value box show: engine values
// and slip samples.
inline constexpr int EngineDecimals = 1;
inline constexpr int SlipDecimals = 6;

// N-m in one lb-ft.
inline constexpr double NmPerLbFt = 1.3558179483314004;

// kW in one HP as the editor computes power (Rpm x Torque x PowerFactor):
// pi / 30000 / PowerFactor, so that kW is exactly Rpm x Torque x 2 pi / 60000.
double KwPerHp();
// kW in one PS (metric horsepower, 75 kgf m/s).
inline constexpr double KwPerPs = 0.73549875;

// What a stored value is multiplied by to be shown: 1 for N-m and HP, so the
// default units show the stored value itself, bit for bit.
double TorqueScale(TorqueUnit unit);
double PowerScale(PowerUnit unit);

inline double ShownTorque(double nm, TorqueUnit unit) { return nm * TorqueScale(unit); }
inline double ShownPower(double hp, PowerUnit unit) { return hp * PowerScale(unit); }

// The N-m value to store for a torque shown as `shown`: one that is shown as
// the same text with `decimals` decimals, so what the user typed or stepped to
// is what the table shows. N-m values are stored as they are.
double StoredTorque(double shown, TorqueUnit unit, int decimals);

// Whether two values read the same with that many decimals ("%.<d>f").
bool ShowSame(double a, double b, int decimals);

// The names the editor shows and the settings file keeps: "N-m", "lb-ft";
// "HP", "kW", "PS".
std::string_view UnitName(TorqueUnit unit);
std::string_view UnitName(PowerUnit unit);

// The unit of a name as UnitName gives it; anything else is the default.
TorqueUnit TorqueUnitNamed(std::string_view name);
PowerUnit PowerUnitNamed(std::string_view name);

// The engine chart's title in these units: "R. P. M. vs Torque (N-m) and
// Power (HP) and Compression torque (N-m)" for the defaults.
std::string EngineTitle(const DisplayUnits& units);

}  // namespace dyno
