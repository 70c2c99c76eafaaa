#pragma once

#include <algorithm>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/editing/EditorHost.h"

namespace dyno::test {

// Records what the core asks of its window, and plays a value box like the
// window's: at most 8 characters, a modified flag that every edit sets, and
// one change notification per edit, delivered at once to valueBoxChanged
// (when set) and counted.
class FakeHost : public EditorHost {
 public:
  struct Invalidation {
    Rect area;
    bool erase;
  };
  struct Message {
    std::string text;
    std::string caption;
  };
  struct Scroll {
    int dy;
    Rect area;
  };

  void Invalidate(const Rect& area, bool erase) override { invalidations.push_back({area, erase}); }
  void ShowMessage(std::string_view text, std::string_view caption) override {
    messages.push_back({std::string(text), std::string(caption)});
  }
  void ScrollPixels(int dy, const Rect& area) override { scrolls.push_back({dy, area}); }
  void FocusValueBox() override { boxFocused = true; }
  void ShowNotice(std::string_view text) override { messages.push_back({std::string(text), "status bar"}); }
  void SyncRowScrollBar(const RowScrollBarState& bar) override {
    scrollBar = bar;
    ++scrollBarSyncs;
  }
  std::string ValueBoxText() const override { return valueBox; }
  bool boxFocused = false;
  void EmptyValueBox() override {
    if (valueBox.empty()) return;
    valueBox.clear();
    Changed();
  }
  void InsertValueBoxText(std::string_view text) override {
    // Inserted at the caret, which an emptied box has at its start; the box
    // takes what fits.
    const std::size_t room = valueBox.size() < 8 ? 8 - valueBox.size() : 0;
    const std::string_view taken = text.substr(0, room);
    if (taken.empty()) return;
    valueBox.insert(0, taken);
    Changed();
  }
  void SetCursorShape(CursorShape shape) override { cursor = shape; }

  // The user types characters at the end of the box, one notification each;
  // a character beyond the limit is refused without one.
  void Type(std::string_view characters) {
    for (char c : characters) {
      if (valueBox.size() >= 8) continue;
      valueBox.push_back(c);
      Changed();
    }
  }
  // The user deletes a character at the end of the box.
  void Backspace() {
    if (valueBox.empty()) return;
    valueBox.pop_back();
    Changed();
  }
  std::vector<Invalidation> invalidations;
  std::vector<Message> messages;
  std::vector<Scroll> scrolls;
  RowScrollBarState scrollBar;
  int scrollBarSyncs = 0;
  std::string valueBox;
  int valueBoxChanges = 0;
  std::function<void()> valueBoxChanged;
  CursorShape cursor = CursorShape::Arrow;

 private:
  void Changed() {
    ++valueBoxChanges;
    if (valueBoxChanged) valueBoxChanged();
  }
};

}  // namespace dyno::test
