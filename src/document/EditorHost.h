#pragma once

#include <string_view>

namespace dyno {

// A rectangle in client pixels; right and bottom lie one beyond the last pixel.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  friend bool operator==(const Rect&, const Rect&) = default;
};

struct Point {
  int x = 0;
  int y = 0;

  friend bool operator==(const Point&, const Point&) = default;
};

// What the editor core needs of the window around it. The Qt window
// implements it; tests replace it with a recording fake.
class EditorHost {
 public:
  virtual ~EditorHost() = default;

  // Asks for the rectangle to be repainted, with or without erasing it first.
  virtual void Invalidate(const Rect& area, bool erase) = 0;

  // An OK-only message box.
  virtual void ShowMessage(std::string_view text, std::string_view caption) = 0;
};

}  // namespace dyno
