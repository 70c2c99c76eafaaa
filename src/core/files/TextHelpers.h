#pragma once

#include <string>
#include <string_view>

namespace dyno {

// The part of text before its first NUL byte, as C string functions see it.
std::string_view UpToNul(std::string_view text);

// Whether text ends its lines with CR alone, as old editors wrote files: it
// holds a CR and no LF. A CR then ends a line as an LF does. (A file that
// mixes them keeps its LF lines: saving it adds no LF, so the answer stays.)
bool EndsLinesWithCr(std::string_view text);

// Where the line piece from `from` ends, at most at limit: after its LF (or
// its CR LF, or its CR alone where crEndsLines).
std::size_t LineEndAfter(std::string_view text, std::size_t from, std::size_t limit, bool crEndsLines);

// The next line piece of text from pos: bytes up to and including the next
// line end (an LF; where crEndsLines, a CR alone too), or 255 bytes, or up to
// the end of the text, whichever comes first. pos advances past the piece. A
// longer line thus comes as several pieces.
std::string_view ReadTextLine(std::string_view text, int& pos, bool crEndsLines = false);

// The bytes of source before the first delimiter, CR, LF or NUL.
std::string_view CopyUntil(std::string_view source, char delimiter);

// The bytes after the first '=' of line, up to its first CR, LF or NUL; empty
// when the line has no '='.
std::string_view ValueAfterEquals(std::string_view line);

// True when line (up to a NUL) contains key.
bool LineContains(std::string_view line, std::string_view key);

}  // namespace dyno
