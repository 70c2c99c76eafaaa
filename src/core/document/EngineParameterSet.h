#pragma once

#include <array>
#include <string>
#include <string_view>

namespace dyno {

inline constexpr int EngineParameterCount = 36;  // named parameters of an engine file
inline constexpr int MaxParameterValues = 3;     // values of one parameter

// What never changes about a parameter: its key, how many values it has,
// where it stands when the parameters are looked up, and its defaults.
struct EngineParameterSpec {
  const char* Key;
  int ValueCount;  // 1, 2 or 3
  int ReadOrder;   // 1 to 36: position in the order the keys are looked up
  std::array<double, MaxParameterValues> Defaults;
  const char* DefaultComment;  // with its leading "//"; may be empty
};

// The 36 parameters in the order they are written.
extern const std::array<EngineParameterSpec, EngineParameterCount> EngineParameterSpecs;

// The position of the parameter with that key in EngineParameterSpecs, or -1.
int EngineParameterIndex(std::string_view key);

// One named parameter with its current values and comment.
struct EngineParameter {
  const EngineParameterSpec* Spec = nullptr;
  std::array<double, MaxParameterValues> Values{};
  std::string Comment;  // written after the values, "//" included; may be empty

  std::string_view Key() const { return Spec->Key; }
  int ValueCount() const { return Spec->ValueCount; }
};

// The named parameters of an engine file, in the order they are written. It
// lives for the whole run: reading a file changes only what that file has.
struct EngineParameterSet {
  EngineParameterSet();  // every parameter at its defaults

  std::array<EngineParameter, EngineParameterCount> Items;

  // The parameter with that key, or nullptr.
  EngineParameter* Find(std::string_view key);
  const EngineParameter* Find(std::string_view key) const;
};

}  // namespace dyno
