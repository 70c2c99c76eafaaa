#pragma once

#include <QString>

#include <string>

namespace dyno {

// The core takes paths as UTF-8 on every system. (QFile::encodeName gives
// the ANSI code page on Windows, where "Motor-ü.ini" would not open.)
//
// A POSIX file name is any bytes, and a name that is not valid UTF-8 must
// still reach the core unchanged: each byte that is not part of valid UTF-8
// becomes the lone surrogate U+DC80..U+DCFF in the QString (which valid
// UTF-8 never gives) and turns back into that byte. Shown, such a character
// is a replacement mark.
QString DecodedName(const std::string& name);
std::string EncodedName(const QString& name);

}  // namespace dyno
