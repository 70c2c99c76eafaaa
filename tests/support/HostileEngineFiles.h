#pragma once

// Engine files as a hostile but plausible world writes them: line ends of
// every kind, rows written with tabs, many decimals, prefixes, comments and
// commented-out rows between them, parameters with and without comments,
// keys inside other lines' comments, lists with values missing, duplicate
// keys and overlong lines. Deterministic: file n is always the same bytes.
#include <cmath>
#include <cstdio>
#include <random>
#include <string>

#include "core/document/EngineParameterSet.h"

namespace dyno::test {

inline std::string HostileEngineFile(unsigned n) {
  std::mt19937 random(n * 2654435761u + 17u);
  const auto chance = [&](int percent) { return static_cast<int>(random() % 100) < percent; };
  const auto pick = [&](int count) { return static_cast<int>(random() % static_cast<unsigned>(count)); };
  const char* const ends[] = {"\r\n", "\r\n", "\r\n", "\n", "\r"};
  const std::string fileEnd = ends[pick(5)];
  const bool mixed = chance(10);
  const auto end = [&] { return mixed && chance(30) ? std::string(ends[pick(5)]) : fileEnd; };
  const auto number = [&](double v, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, v);
    return std::string(text);
  };
  const auto parameter = [&](int index) {
    const EngineParameterSpec& spec = EngineParameterSpecs[static_cast<std::size_t>(index)];
    std::string line = spec.Key;
    line += chance(5) ? "= " : "=";
    if (spec.ValueCount > 1) line += "(";
    const int values = chance(5) ? spec.ValueCount - 1 : spec.ValueCount;
    for (int v = 0; v < values; ++v) {
      if (v > 0) line += chance(20) ? "," : ", ";
      const double value = spec.Defaults[static_cast<std::size_t>(v)] * (0.5 + (random() % 1000) / 1000.0);
      line += chance(15) ? number(value, 6) : chance(10) ? std::to_string(value) : number(value, 2);
    }
    if (spec.ValueCount > 1) line += ")";
    if (chance(70)) line += std::string(chance(50) ? "   " : "\t") + (*spec.DefaultComment ? spec.DefaultComment : "// x");
    if (chance(3)) line += " " + std::string(300, '-');
    return line;
  };

  std::string out;
  if (chance(60)) out += "[ENGINE]" + end();
  if (chance(40)) out += "// engine of car " + std::to_string(n) + end();
  const int rows = 5 + pick(60);
  const bool upgrade = chance(10);
  const int paramsFirst = chance(30) ? pick(EngineParameterCount) : 0;
  for (int p = 0; p < paramsFirst; ++p) out += parameter(pick(EngineParameterCount)) + end();
  double rpm = chance(20) ? 500.0 : 0.0;
  const double step = chance(50) ? 250.0 : chance(50) ? 500.0 : 333.3;
  for (int i = 0; i < rows; ++i) {
    if (chance(5)) out += "// rows go on" + end();
    if (chance(4)) out += "//RPMTorque=( 1.0, 2.0, 3.0)" + end();
    if (chance(3)) out += parameter(pick(EngineParameterCount)) + end();
    const int decimals = chance(80) ? 1 : 1 + pick(4);
    const double torque = 100.0 + 300.0 * std::sin(i * 3.14159 / rows) + pick(50);
    const char* sep = chance(10) ? ",\t" : chance(10) ? " ,  " : ", ";
    std::string row = std::string(upgrade ? "HDV=" : "") + "RPMTorque=(" + (chance(90) ? " " : "") +
                      number(rpm, decimals) + sep + number(-10.0 - i * 1.5, decimals) + sep + number(torque, decimals) + ")";
    if (chance(8)) row += " // row " + std::to_string(i);
    if (chance(3)) row += " // " + std::string(EngineParameterSpecs[static_cast<std::size_t>(pick(EngineParameterCount))].Key) + "=1.0";
    out += row + end();
    rpm += step;
  }
  for (int p = 0; p < EngineParameterCount; ++p) {
    if (chance(85)) out += parameter(p) + end();
    if (chance(2)) out += parameter(p) + end();  // a second line of the same key
  }
  if (chance(30)) out += "[DRIVELINE]" + end() + "GearRatio=3.5" + end();
  return out;
}

}  // namespace dyno::test
