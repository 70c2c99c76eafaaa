#include "core/document/EngineParameterSet.h"

namespace dyno {

// Key, value count, lookup position, defaults and default comment of every
// parameter, in written order.
const std::array<EngineParameterSpec, EngineParameterCount> EngineParameterSpecs = {{
    {"FuelConsumption", 1, 1, {5.631e-05, 0, 0},
     "// affected by throttle position and engine speed"},
    {"FuelEstimate", 1, 2, {0.892, 0, 0},
     "// fudge factor for differences between vehicle types (used for lap estimates and AI pit scheduling)"},
    {"EngineInertia", 1, 3, {0.256, 0, 0},
     "// rotational inertia of engine components"},
    {"IdleThrottle", 1, 4, {0.4, 0, 0},
     "// throttle multiplier to help maintain idle speed"},
    {"IdleRPMLogic", 2, 5, {1200, 1450, 0},
     "// attempt to maintain idle speed between these RPMs"},
    {"LaunchEfficiency", 1, 6, {0, 0, 0},
     "// efficiency (0.0-1.0) of launch control, or 0.0 if N/A"},
    {"LaunchRPMLogic", 2, 7, {6000, 7000, 0},
     "// holds RPM in this range before launch (used for AI even if launch control is N/A!)"},
    {"RevLimitRange", 3, 8, {9400, 50, 4},
     ""},
    {"RevLimitSetting", 1, 9, {2, 0, 0},
     ""},
    {"RevLimitLogic", 1, 10, {100, 0, 0},
     "// RPM range around current setting where rev limiter operates"},
    {"RevLimitAvailable", 1, 11, {1, 0, 0},
     "// whether to use a rev limit (if 0, you still must have a \"rev limit\", just make it 40000 or so, and make sure to change [CONTROLS]->UpshiftAlgorithm to fix shifting points)"},
    {"EngineMapRange", 3, 12, {0, 1, 1},
     "// 0 = most driveable, max = most power (low gears only) (unimplemented)"},
    {"EngineMapSetting", 1, 13, {1, 0, 0},
     ""},
    {"EngineBrakingMapRange", 3, 14, {0, 0.001, 1},
     "// input throttle is ranged from minimum to 100%, with the minimum = setting * step * RPM,"},
    {"EngineBrakingMapSetting", 1, 15, {0, 0, 0},
     "// the default is 1 * 0.000133 * 15000 RPM = 2% applied throttle at zero input throttle"},
    {"EngineBoostRange", 3, 32, {0.01, 1, 10},
     ""},
    {"EngineBoostSetting", 1, 33, {1, 0, 0},
     ""},
    {"BoostEffects", 3, 34, {15, 0.01, 1.015},
     "// RPM increase per setting, fuel increase (1%) per setting, engine wear rate (101.5%) per setting"},
    {"BoostTorque", 1, 35, {-0.0041, 0, 0},
     "// 0.4% less torque per setting (applies to all RPMs)"},
    {"BoostPower", 1, 36, {0.00016, 0, 0},
     "// % more horsepower per setting"},
    {"OptimumOilTemp", 1, 16, {105, 0, 0},
     "// degrees Celsius at which engine operates optimally"},
    {"CombustionHeat", 1, 17, {40, 0, 0},
     "// degrees Celsius added per liter of fuel burned"},
    {"EngineSpeedHeat", 1, 18, {0.0009062, 0, 0},
     "// heat added linearly with engine speed"},
    {"OilMinimumCooling", 1, 19, {0.0075, 0, 0},
     "// heat added linearly with engine speed"},
    {"OilWaterHeatTransfer", 2, 20, {0.4962, 7.925e-05, 0},
     "// heat transfer from oil to water (base, w/ engine speed)"},
    {"WaterMinimumCooling", 1, 21, {0.003962, 0, 0},
     "// heat dissipated without radiator"},
    {"RadiatorCooling", 2, 22, {1.797e-06, 4.486e-06, 0},
     "// cooling rate with velocity (base, per setting)"},
    {"LifetimeEngineRPM", 2, 23, {8600, 180, 0},
     "// (base engine speed for lifetime, range where lifetime is halved)"},
    {"LifetimeOilTemp", 2, 24, {108, 2.5, 0},
     "// (base oil temp for lifetime, range where lifetime is halved)"},
    {"LifetimeAvg", 1, 25, {15000, 0, 0},
     "// average lifetime in seconds"},
    {"LifetimeVar", 1, 26, {8500, 0, 0},
     "// lifetime random variance"},
    {"EngineEmission", 3, 27, {0.2, 0.6, -2.5},
     "// where flames and smoke are emitted (relative to ref frame at rear axle)"},
    {"EngineSound", 3, 28, {0.2, 0.6, -2.5},
     "// where engine sound is played (relative to ref frame at rear axle)"},
    {"SpeedLimiter", 1, 29, {1, 0, 0},
     "// whether vehicle has a pitlane speed limiter"},
    {"OnboardStarter", 1, 30, {1, 0, 0},
     "// whether vehicle restarts when stalled"},
    {"StarterTiming", 3, 31, {1.4, 0, 0},
     "// average and variable cranking time, then time to blend with starting sound"},
}};

int EngineParameterIndex(std::string_view key) {
  for (int i = 0; i < EngineParameterCount; ++i) {
    if (EngineParameterSpecs[i].Key == key) return i;
  }
  return -1;
}

EngineParameterSet::EngineParameterSet() {
  for (int i = 0; i < EngineParameterCount; ++i) {
    const EngineParameterSpec& spec = EngineParameterSpecs[i];
    Items[i].Spec = &spec;
    Items[i].Values = spec.Defaults;
    Items[i].Comment = spec.DefaultComment;
  }
}

EngineParameter* EngineParameterSet::Find(std::string_view key) {
  const int i = EngineParameterIndex(key);
  return i < 0 ? nullptr : &Items[i];
}

const EngineParameter* EngineParameterSet::Find(std::string_view key) const {
  return const_cast<EngineParameterSet*>(this)->Find(key);
}

}  // namespace dyno
