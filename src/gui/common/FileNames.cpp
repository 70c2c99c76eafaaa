#include "gui/common/FileNames.h"

namespace dyno {

namespace {

#ifndef Q_OS_WIN
constexpr char16_t EscapeBase = 0xDC00;

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// The length of the valid UTF-8 sequence at bytes[at], or 0 when there is
// none (a stray, overlong or truncated sequence, a surrogate, beyond U+10FFFF).
std::size_t ValidSequenceLength(const std::string& bytes, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[at + i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  unsigned char low = 0x80;  // the bounds of the second byte
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (bytes.size() - at < length || byte(1) < low || byte(1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (!IsContinuation(byte(i))) return 0;
  }
  return length;
}
#endif

}  // namespace

QString DecodedName(const std::string& name) {
#ifdef Q_OS_WIN
  return QString::fromStdString(name);
#else
  QString out;
  out.reserve(static_cast<qsizetype>(name.size()));
  std::size_t run = 0;  // the start of the valid bytes not yet decoded
  std::size_t at = 0;
  while (at < name.size()) {
    const std::size_t length = ValidSequenceLength(name, at);
    if (length > 0) {
      at += length;
      continue;
    }
    out += QString::fromUtf8(name.data() + run, static_cast<qsizetype>(at - run));
    out += QChar(static_cast<char16_t>(EscapeBase + static_cast<unsigned char>(name[at])));
    run = ++at;
  }
  return out + QString::fromUtf8(name.data() + run, static_cast<qsizetype>(at - run));
#endif
}

std::string EncodedName(const QString& name) {
#ifdef Q_OS_WIN
  return name.toStdString();
#else
  std::string out;
  qsizetype run = 0;
  for (qsizetype i = 0; i < name.size(); ++i) {
    const char16_t c = name[i].unicode();
    if (c < EscapeBase + 0x80 || c > EscapeBase + 0xFF) continue;
    // Only a lone one: the low half of a surrogate pair is part of a character.
    if (i > 0 && name[i - 1].isHighSurrogate()) continue;
    out += name.sliced(run, i - run).toStdString();
    out += static_cast<char>(c - EscapeBase);
    run = i + 1;
  }
  return out + name.sliced(run).toStdString();
#endif
}

}  // namespace dyno
