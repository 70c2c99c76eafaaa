#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/document/Limits.h"
#include "core/files/TextHelpers.h"

namespace dyno::test {

// The line pieces of a text as the editor's line reader delivers them: up to
// and including an LF, at most 255 bytes, the last one up to the end. Written
// apart from the reader on purpose, so that checks do not share its faults.
struct Piece {
  std::size_t start = 0;
  std::string_view bytes;
};

inline std::vector<Piece> Pieces(std::string_view text) {
  std::vector<Piece> pieces;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t length = 0;
    while (pos + length < text.size() && length < static_cast<std::size_t>(LineBufferSize - 1)) {
      if (text[pos + length++] == '\n') break;
    }
    pieces.push_back({pos, text.substr(pos, length)});
    pos += length;
  }
  return pieces;
}

// True when a piece is a torque row: the key before any NUL byte.
inline bool IsRowPiece(std::string_view piece) {
  return UpToNul(piece).find("RPMTorque=(") != std::string_view::npos;
}

// What saving an engine text writes, by the rule that defines the rows'
// place: the text with its first row piece replaced by rows and every later
// row piece left out; every other byte stays.
inline std::string WithRowsReplaced(std::string_view text, std::string_view rows) {
  std::string out;
  bool placed = false;
  for (const Piece& piece : Pieces(text)) {
    if (!IsRowPiece(piece.bytes)) {
      out += piece.bytes;
    } else if (!placed) {
      out += rows;
      placed = true;
    }
  }
  return out;
}

}  // namespace dyno::test
