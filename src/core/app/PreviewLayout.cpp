#include "core/app/PreviewLayout.h"

#include <algorithm>
#include <cstdint>

namespace dyno {

namespace {

// Sizes beyond any screen or printer count as this size, so the products
// below stay within 64 bits.
constexpr std::int64_t Largest = std::int64_t{1} << 24;

// side x numerator x 95 / (denominator x 100), truncated.
int AtAspect(int side, int numerator, int denominator) {
  const std::int64_t value = std::clamp<std::int64_t>(side, 0, Largest) *
                             std::clamp<std::int64_t>(numerator, 0, Largest) * 95 /
                             (std::clamp<std::int64_t>(denominator, 1, Largest) * 100);
  return static_cast<int>(std::clamp<std::int64_t>(value, 0, Largest));
}

}  // namespace

Rect FirstPreviewPage(int layoutWidth, int layoutHeight, int printableWidth, int printableHeight) {
  const Rect empty{PreviewMargin, PreviewMargin, PreviewMargin, PreviewMargin};
  if (printableWidth <= 0 || printableHeight <= 0) return empty;
  const int roomWidth = std::max(layoutWidth - 2 * PreviewMargin, 0);
  const int roomHeight = std::max(layoutHeight - 2 * PreviewMargin, 0);
  const bool relativelyWider =
      std::clamp<std::int64_t>(layoutWidth, 0, Largest) * std::min<std::int64_t>(printableHeight, Largest) >
      std::clamp<std::int64_t>(layoutHeight, 0, Largest) * std::min<std::int64_t>(printableWidth, Largest);
  int width = 0;
  int height = 0;
  if (relativelyWider) {
    height = roomHeight;
    width = AtAspect(height, printableWidth, printableHeight);
  } else {
    width = roomWidth;
    height = AtAspect(width, printableHeight, printableWidth);
  }
  return {PreviewMargin, PreviewMargin, PreviewMargin + width, PreviewMargin + height};
}

Rect SecondPreviewPage(const Rect& first) {
  const int left = first.right + PreviewPageGap;
  return {left, first.top, left + (first.right - first.left), first.bottom};
}

}  // namespace dyno
