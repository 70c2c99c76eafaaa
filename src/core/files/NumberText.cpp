#include "core/files/NumberText.h"

#include <locale.h>

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <charconv>

namespace dyno {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The blanks a C conversion skips before a number.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// Switches the calling thread to the "C" locale for its lifetime.
class CLocaleScope {
 public:
  CLocaleScope() : previous_(uselocale(CLocale())) {}
  ~CLocaleScope() { uselocale(previous_); }
  CLocaleScope(const CLocaleScope&) = delete;
  CLocaleScope& operator=(const CLocaleScope&) = delete;

 private:
  static locale_t CLocale() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return c;
  }
  locale_t previous_;
};

void AppendV(std::string& out, const char* format, va_list args) {
  CLocaleScope scope;
  char small[256];
  va_list copy;
  va_copy(copy, args);
  const int n = std::vsnprintf(small, sizeof small, format, copy);
  va_end(copy);
  if (n < 0) return;
  if (static_cast<std::size_t>(n) < sizeof small) {
    out.append(small, static_cast<std::size_t>(n));
    return;
  }
  const std::size_t start = out.size();
  out.resize(start + static_cast<std::size_t>(n) + 1);
  std::vsnprintf(out.data() + start, static_cast<std::size_t>(n) + 1, format, args);
  out.resize(start + static_cast<std::size_t>(n));
}

constexpr double PowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                  1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

}  // namespace

double DecimalToDouble(std::string_view text) {
  const char* p = text.data();
  const char* const end = p + text.size();
  while (p < end && IsBlank(*p)) ++p;

  bool negative = false;
  if (p < end && (*p == '+' || *p == '-')) {
    negative = *p == '-';
    ++p;
  }

  // Mantissa: digits, optionally a point and more digits; at least one
  // digit. Up to 15 significant digits are gathered as an exact integer.
  const char* const start = p;
  std::uint64_t mantissa = 0;
  int significant = 0;  // digits from the first non-zero one on
  int scale = 0;        // the power of ten of the last digit gathered
  bool anyDigit = false;
  for (; p < end && IsDigit(*p); ++p) {
    anyDigit = true;
    if (significant == 0 && *p == '0') continue;
    if (++significant <= 15) mantissa = mantissa * 10 + static_cast<std::uint64_t>(*p - '0');
  }
  if (p < end && *p == '.') {
    for (++p; p < end && IsDigit(*p); ++p) {
      anyDigit = true;
      if (significant == 0 && *p == '0') {
        --scale;
        continue;
      }
      if (++significant <= 15) {
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(*p - '0');
        --scale;
      }
    }
  }
  if (!anyDigit) return 0.0;

  // Exponent, taken only when at least one digit follows the 'e'.
  if (p < end && (*p == 'e' || *p == 'E')) {
    const char* q = p + 1;
    const bool negativeExponent = q < end && *q == '-';
    if (q < end && (*q == '+' || *q == '-')) ++q;
    if (q < end && IsDigit(*q)) {
      int exponent = 0;
      for (; q < end && IsDigit(*q); ++q) exponent = std::min(exponent * 10 + (*q - '0'), 100000);
      scale += negativeExponent ? -exponent : exponent;
      p = q;
    }
  }

  // With at most 15 significant digits and a power of ten up to 22 both
  // factors are exact doubles, so one multiplication or division rounds
  // correctly; anything else takes the general conversion.
  double value = 0.0;
  if (significant <= 15 && scale >= -22 && scale <= 22) {
    const double exact = static_cast<double>(mantissa);
    value = scale < 0 ? exact / PowersOfTen[-scale] : exact * PowersOfTen[scale];
  } else if (significant > 0) {
    const auto [stop, error] = std::from_chars(start, p, value, std::chars_format::general);
    (void)stop;
    if (error != std::errc() || !std::isfinite(value)) return 0.0;
  }
  return negative ? -value : value;
}

void AppendFixed(std::string& out, double value, int decimals) {
  char text[400];  // the widest double in "%.6f" is 317 digits and a sign
  const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
  if (result.ec == std::errc()) {
    out.append(text, result.ptr);
  } else {
    AppendCFormat(out, "%.*f", decimals, value);
  }
}

std::string CFormat(const char* format, ...) {
  std::string out;
  va_list args;
  va_start(args, format);
  AppendV(out, format, args);
  va_end(args);
  return out;
}

void AppendCFormat(std::string& out, const char* format, ...) {
  va_list args;
  va_start(args, format);
  AppendV(out, format, args);
  va_end(args);
}

int CFormatTo(char* buffer, std::size_t size, const char* format, ...) {
  if (size == 0) return 0;
  CLocaleScope scope;
  va_list args;
  va_start(args, format);
  const int n = std::vsnprintf(buffer, size, format, args);
  va_end(args);
  if (n < 0) {
    buffer[0] = '\0';
    return 0;
  }
  return static_cast<std::size_t>(n) < size ? n : static_cast<int>(size - 1);
}

}  // namespace dyno
