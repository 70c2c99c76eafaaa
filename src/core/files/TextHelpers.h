#pragma once

#include <string>
#include <string_view>

namespace dyno {

// The part of text before its first NUL byte, as C string functions see it.
std::string_view UpToNul(std::string_view text);

// The next line piece of text from pos: bytes up to and including the next LF,
// or 255 bytes, or up to the end of the text, whichever comes first. pos
// advances past the piece. A longer line thus comes as several pieces.
std::string_view ReadTextLine(std::string_view text, int& pos);

// The bytes of source before the first delimiter, CR, LF or NUL.
std::string_view CopyUntil(std::string_view source, char delimiter);

// The bytes after the first '=' of line, up to its first CR, LF or NUL; empty
// when the line has no '='.
std::string_view ValueAfterEquals(std::string_view line);

// True when line (up to a NUL) contains key.
bool LineContains(std::string_view line, std::string_view key);

}  // namespace dyno
