#include "core/files/NumberFormat.h"

#include <algorithm>
#include <charconv>

namespace dyno {

namespace {

// The text of value as std::to_chars writes it in the given format and
// precision, which is the text printf gives in the "C" locale, into a buffer
// that holds any double.
template <typename Write>
void WithNumberText(double value, std::chars_format format, int precision, Write write) {
  precision = std::clamp(precision, 0, MaxDecimals);
  char text[320 + MaxDecimals];  // the widest double has 309 digits before the point
  const auto result = std::to_chars(text, text + sizeof text, value, format, precision);
  write(text, result.ec == std::errc() ? result.ptr : text);
}

int CopyCut(char* buffer, std::size_t size, const char* text, const char* end) {
  if (size == 0) return 0;
  const std::size_t n = std::min(static_cast<std::size_t>(end - text), size - 1);
  std::copy_n(text, n, buffer);
  buffer[n] = '\0';
  return static_cast<int>(n);
}

}  // namespace

void AppendFixed(std::string& out, double value, int decimals) {
  WithNumberText(value, std::chars_format::fixed, decimals, [&](const char* text, const char* end) { out.append(text, end); });
}

std::string FixedText(double value, int decimals) {
  std::string out;
  AppendFixed(out, value, decimals);
  return out;
}

std::string TrimmedText(double value) {
  std::string text = FixedText(value, 6);
  if (text.find('.') == std::string::npos) return text;
  while (text.back() == '0' && text[text.size() - 2] != '.') text.pop_back();
  return text == "-0.0" ? "0.0" : text;
}

std::string ExponentText(double value, int precision) {
  std::string out;
  WithNumberText(value, std::chars_format::scientific, precision,
                 [&](const char* text, const char* end) { out.assign(text, end); });
  return out;
}

int FixedTo(char* buffer, std::size_t size, double value, int decimals) {
  int n = 0;
  WithNumberText(value, std::chars_format::fixed, decimals,
                 [&](const char* text, const char* end) { n = CopyCut(buffer, size, text, end); });
  return n;
}

int IntegerTo(char* buffer, std::size_t size, long long value, int width) {
  char text[24];
  char* const end = std::to_chars(text, text + sizeof text, value).ptr;
  const int digits = static_cast<int>(end - text);
  const int pad = std::clamp(width - digits, 0, 64);
  char padded[24 + 64];
  std::fill_n(padded, pad, ' ');
  std::copy(text, end, padded + pad);
  return CopyCut(buffer, size, padded, padded + pad + digits);
}

}  // namespace dyno
