#pragma once

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/document/Limits.h"
#include "LinePieces.h"

// Shared by the fuzz targets. An invariant that does not hold aborts, which
// libFuzzer (or the replay driver) reports as a crash with the input saved.
#define FUZZ_CHECK(condition)                                                                  \
  do {                                                                                         \
    if (!(condition)) {                                                                        \
      std::fprintf(stderr, "%s:%d: invariant failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                            \
    }                                                                                          \
  } while (false)

namespace dyno::fuzz {

using test::IsRowPiece;
using test::Piece;
using test::Pieces;

inline bool IsFinite(double v) { return std::isfinite(v); }

// Every line of text, including its line end, fits in one line piece, so
// the reader sees each line whole.
inline bool LinesFitInPieces(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size()) {
    const auto lf = text.find('\n', start);
    const std::size_t end = lf == std::string_view::npos ? text.size() : lf + 1;
    if (end - start > static_cast<std::size_t>(LineBufferSize - 1)) return false;
    start = end;
  }
  return true;
}

}  // namespace dyno::fuzz
