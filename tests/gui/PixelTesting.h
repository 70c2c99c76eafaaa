#pragma once

#include <QImage>
#include <QRect>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace dyno::test {

// A pixel as "#rrggbb", so a failed comparison says which colour it found.
inline std::string Pixel(const QImage& image, int x, int y) {
  if (!image.rect().contains(x, y)) return "outside";
  const QRgb c = image.pixel(x, y);
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", qRed(c), qGreen(c), qBlue(c));
  return text;
}

inline std::string Hex(int r, int g, int b) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", r, g, b);
  return text;
}

// Pixels of area within tolerance (per channel) of the colour.
inline int CountNear(const QImage& image, const QRect& area, QRgb color, int tolerance = 0) {
  int count = 0;
  const QRect a = area & image.rect();
  for (int y = a.top(); y <= a.bottom(); ++y) {
    for (int x = a.left(); x <= a.right(); ++x) {
      const QRgb c = image.pixel(x, y);
      if (std::abs(qRed(c) - qRed(color)) <= tolerance && std::abs(qGreen(c) - qGreen(color)) <= tolerance &&
          std::abs(qBlue(c) - qBlue(color)) <= tolerance) {
        ++count;
      }
    }
  }
  return count;
}

// Pixels of area darker than a mid gray: text ink on a light face.
inline int CountDark(const QImage& image, const QRect& area) {
  int count = 0;
  const QRect a = area & image.rect();
  for (int y = a.top(); y <= a.bottom(); ++y) {
    for (int x = a.left(); x <= a.right(); ++x) {
      if (qGray(image.pixel(x, y)) < 100) ++count;
    }
  }
  return count;
}

// The smallest rectangle holding every dark pixel of area (empty if none).
inline QRect DarkBounds(const QImage& image, const QRect& area) {
  QRect bounds;
  const QRect a = area & image.rect();
  for (int y = a.top(); y <= a.bottom(); ++y) {
    for (int x = a.left(); x <= a.right(); ++x) {
      if (qGray(image.pixel(x, y)) < 100) bounds |= QRect(x, y, 1, 1);
    }
  }
  return bounds;
}

}  // namespace dyno::test
