#include "files/NumberText.h"

#include <locale.h>

#include <cmath>
#include <cstdarg>
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

}  // namespace

double DecimalToDouble(std::string_view text) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n && IsBlank(text[i])) ++i;

  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }

  // Mantissa: digits, optionally a point and more digits; at least one digit.
  const std::size_t start = i;
  std::size_t digits = 0;
  while (i < n && IsDigit(text[i])) ++i, ++digits;
  if (i < n && text[i] == '.') {
    ++i;
    while (i < n && IsDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return 0.0;

  // Exponent, taken only when at least one digit follows the 'e'.
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < n && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < n && IsDigit(text[j])) {
      while (j < n && IsDigit(text[j])) ++j;
      i = j;
    }
  }

  double value = 0.0;
  const auto [end, error] = std::from_chars(text.data() + start, text.data() + i, value, std::chars_format::general);
  if (error != std::errc() || !std::isfinite(value)) return 0.0;
  (void)end;
  return negative ? -value : value;
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
